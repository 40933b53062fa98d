// korvel-check: the ranking checks of the window, from the command line.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "check_options.h"
#include "check_plan.h"
#include "check_run.h"
#include "exit_codes.h"
#include "net/hosts.h"
#include "net/settings_file.h"
#include "output_format.h"
#include "program_location.h"

namespace {

// Larger files are not keyword lists; reading stops here.
constexpr std::size_t kMaxKeywordFileBytes = 16 << 20;

std::optional<std::string> read_file(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// The hosts of the named settings file, or of korvel.ini beside the program
// (built-in defaults without it). Ignored values are reported on stderr.
std::optional<net::Settings> load_config(const std::optional<std::string>& named) {
    std::filesystem::path file = named ? std::filesystem::path(*named)
                                       : cli::executable_directory() / net::kSettingsFileName;
    std::error_code error;
    if (named && !std::filesystem::is_regular_file(file, error))
        return std::nullopt;
    net::Settings settings = net::load_settings(file, net::default_hosts());
    for (const std::string& problem : settings.problems)
        std::cerr << cli::kProgramName << ": " << file.string() << ": " << problem << '\n';
    return settings;
}

// "[3/10] keyword 辣条 sales" on one line that each step overwrites.
class ProgressLine {
  public:
    explicit ProgressLine(bool shown) : shown_(shown) {}
    ~ProgressLine() {
        if (shown_ && used_)
            std::fputs("\r\x1b[K", stderr);
    }
    void show(int index, int total, std::string_view what) {
        if (!shown_)
            return;
        used_ = true;
        const std::string line = "\r[" + std::to_string(index) + "/" + std::to_string(total) +
                                 "] " + std::string(what) + "\x1b[K";
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
    }

  private:
    bool shown_;
    bool used_ = false;
};

int usage_error(std::string_view problem) {
    std::cerr << cli::usage_message(problem);
    return cli::kExitUsage;
}

int run(const cli::CheckOptions& options) {
    const std::optional<net::Settings> settings = load_config(options.config);
    if (!settings)
        return usage_error("cannot read the settings file '" + *options.config + "'");
    net::set_hosts(settings->hosts);

    std::vector<std::string> file_keywords;
    if (options.keywords_file) {
        const auto text = read_file(*options.keywords_file, kMaxKeywordFileBytes);
        if (!text)
            return usage_error("cannot read the keywords file '" + *options.keywords_file + "'");
        file_keywords = cli::keyword_lines(*text);
    }
    const cli::PlanOrProblem planned =
        cli::make_plan(options, file_keywords, settings->hosts.domain_word);
    if (!planned.problem.empty())
        return usage_error(planned.problem);

    std::vector<cli::ResultRow> rows;
    {
        ProgressLine progress(cli::stderr_is_terminal());
        rows = cli::run_checks(planned.plan, [&progress](int i, int n, std::string_view what) {
            progress.show(i, n, what);
        });
    }
    std::cout << cli::format_rows(rows, options.format) << std::flush;
    return cli::exit_code_of(rows);
}

}  // namespace

int main(int argc, char** argv) {
    const cli::ParsedCommandLine parsed = cli::parse_command_line(argc, argv);
    if (!parsed.options) {
        std::cout << parsed.out << std::flush;
        std::cerr << parsed.err << std::flush;
        return parsed.exit_code;
    }
    return run(*parsed.options);
}
