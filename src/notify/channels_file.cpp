#include "notify/channels_file.h"

#include <atomic>
#include <fstream>
#include <sstream>

#include "notify/channel_settings.h"
#include "text/codepage.h"

namespace notify {

namespace {
std::atomic<bool> warned_shared{false};
}  // namespace

LoadedChannels load_channels(const std::filesystem::path& settings_file) {
    LoadedChannels loaded;
    if (settings_file.empty())
        return loaded;
    std::ifstream in(settings_file, std::ios::binary);
    if (!in)
        return loaded;
    std::ostringstream text;
    text << in.rdbuf();
    ParsedChannels parsed = parse_channels(text.str());
    loaded.channels = std::move(parsed.channels);
    loaded.messages = std::move(parsed.messages);
    if (!loaded.channels.empty() && !warned_shared.exchange(true)) {
        if (auto warning = shared_settings_warning(settings_file))
            loaded.messages.push_back(std::move(*warning));
    }
    return loaded;
}

std::vector<std::string> channel_names(const std::vector<std::string>& board_channels) {
    std::vector<std::string> names;
    for (const std::string& gbk : board_channels)
        names.push_back(text::gbk_to_utf8(gbk));
    return names;
}

}  // namespace notify
