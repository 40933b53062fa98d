// The saved boards' chores: a board saved from the one-off options or from
// its text form, printed in that form, removed. The history file holds the
// boards, so the window sees them at once.
#include <chrono>
#include <iostream>

#include "board/board_text.h"
#include "commands.h"
#include "exit_codes.h"
#include "history_access.h"
#include "notify/channel_settings.h"
#include "notify/channels_file.h"
#include "run_settings.h"
#include "saved_board.h"
#include "text/codepage.h"
#include "text/printable.h"

namespace cli {

namespace {

constexpr std::size_t kMaxBoardFileBytes = 4 << 20;
constexpr std::size_t kMaxKeywordFileBytes = 16 << 20;

std::int64_t now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The board's notice channels that the settings file in use does not define,
// "钉钉, 邮件"; empty when it defines them all. Channels the file leaves out
// are said on stderr, with why.
std::string undefined_channels(const board::Board& board, const CheckOptions& options) {
    if (board.channels.empty())
        return {};
    const notify::LoadedChannels loaded = notify::load_channels(run_settings_file(options));
    for (const std::string& message : loaded.messages)
        std::cerr << kProgramName << ": " << message << '\n';
    std::string missing;
    for (const std::string& name : notify::channel_names(board.channels)) {
        if (notify::find_channel(loaded.channels, name) == nullptr)
            missing += (missing.empty() ? "" : ", ") + name;
    }
    return missing;
}

std::string settings_name(const CheckOptions& options) {
    const std::filesystem::path file = run_settings_file(options);
    return file.empty() ? std::string("no settings file (built-in defaults)") : file.string();
}

// Saves `board` under its name unless one of that name exists and may not
// be replaced, or it names notice channels the settings do not define.
int save(const board::Board& board, const CheckOptions& options) {
    const std::string name = text::gbk_to_utf8(board.name);
    if (const std::string missing = undefined_channels(board, options); !missing.empty())
        return usage_error("notice channels not defined in " + settings_name(options) + ": " +
                           missing);
    OpenedHistory history = open_history(options);
    if (!history.store)
        return failure(history.problem);
    history::Store& store = *history.store;
    const auto existing = store.load_board(name);
    if (existing && !options.admin.replace)
        return usage_error("a board named '" + name + "' exists; give --replace to replace it");
    if (!existing && existing.error().code != history::ErrorCode::not_found)
        return failure(existing.error().message);
    const auto saved = store.save_board(name, board::board_to_text(board), now_ms());
    if (!saved)
        return failure(saved.error().message);
    std::cout << (existing ? "replaced" : "saved") << " board '" << text::printable(name) << "'"
              << std::endl;
    return kExitAllRead;
}

int save_from_options(const CheckOptions& options) {
    // The settings' domain word tells a goods link from an id, as in a run.
    const auto settings = load_run_settings(options);
    if (!settings)
        return usage_error("cannot read the settings file '" + *options.config + "'");
    std::vector<std::string> file_keywords;
    if (options.keywords_file) {
        const auto text = read_file(*options.keywords_file, kMaxKeywordFileBytes);
        if (!text)
            return usage_error("cannot read the keywords file '" + *options.keywords_file + "'");
        file_keywords = keyword_lines(*text);
    }
    const BoardOrProblem made =
        saved_board(*options.admin.save, options, file_keywords, settings->hosts.domain_word);
    if (!made.faults.empty())
        return usage_error("the board cannot be saved:", made.faults);
    return save(made.board, options);
}

int import_board(const CheckOptions& options) {
    const std::string& file = *options.admin.import_file;
    std::optional<std::string> text = read_file(file, kMaxBoardFileBytes);
    if (!text)
        return usage_error("cannot read the board file '" + file + "'");
    if (text->starts_with("\xEF\xBB\xBF"))
        text->erase(0, 3);
    // The domain word tells a goods link from a mistyped id, as in the window.
    const auto settings = load_run_settings(options);
    if (!settings)
        return usage_error("cannot read the settings file '" + *options.config + "'");
    const BoardOrProblem made = board_of_text(*text, settings->hosts.domain_word);
    if (!made.faults.empty())
        return usage_error("the board file '" + file + "' cannot be used:", made.faults);
    return save(made.board, options);
}

int export_board(const history::Store& store, const std::string& name) {
    const auto saved = store.load_board(name);
    if (!saved && saved.error().code == history::ErrorCode::not_found)
        return usage_error("no board named '" + name + "' in " + store.path());
    if (!saved)
        return failure(saved.error().message);
    std::cout << saved.value().definition << std::flush;
    return kExitAllRead;
}

int delete_board(history::Store& store, const std::string& name) {
    const auto deleted = store.delete_board(name);
    if (!deleted)
        return failure(deleted.error().message);
    if (!deleted.value())
        return usage_error("no board named '" + name + "' in " + store.path());
    std::cout << "deleted board '" << text::printable(name) << "'" << std::endl;
    return kExitAllRead;
}

}  // namespace

int run_board_admin(const CheckOptions& options) {
    if (options.mode == Mode::save_board)
        return save_from_options(options);
    if (options.mode == Mode::import_board)
        return import_board(options);
    OpenedHistory history = open_history(options);
    if (!history.store)
        return failure(history.problem);
    if (options.mode == Mode::export_board)
        return export_board(*history.store, *options.admin.export_name);
    return delete_board(*history.store, *options.admin.delete_name);
}

}  // namespace cli
