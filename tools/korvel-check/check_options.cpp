#include "check_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "exit_codes.h"

namespace cli {

namespace {

constexpr const char* kDescription =
    "Finds goods items' ranks among the first 1000 entries of marketplace listings, "
    "with the hosts of korvel.ini.";

constexpr const char* kFooter =
    "Rows come goods by goods in the order given; each goods item's rows follow the\n"
    "listings: keywords (each under its sort orders), categories, the tab, new goods.\n"
    "Examples:\n"
    "  korvel-check --goods 4033138 --keyword 辣条大礼包 --keyword 辣条 --sort all --format csv\n"
    "  korvel-check --goods 4033138 --category 14 --category 2301 --tab 14 --new --format json\n"
    "Exit codes: 0 every check was read, 2 some check failed, 64 usage error.";

struct Names {
    std::string_view name;
    Format format;
};
constexpr Names kFormats[] = {
    {"table", Format::table}, {"csv", Format::csv}, {"json", Format::json}};

void declare(CLI::App& app, CheckOptions& o, std::string& format) {
    app.add_option("--goods", o.goods, "Goods ID or goods link (repeatable)")->required();
    app.add_option("--keyword", o.keywords, "keyword to search (repeatable)");
    app.add_option("--keywords-file", o.keywords_file, "file with one keyword per line (UTF-8)");
    app.add_option("--sort", o.sort, "sort order of keyword searches")
        ->check(CLI::IsMember({"default", "sales", "credit", "price-asc", "price-desc", "all"}))
        ->default_str("default");
    app.add_option("--category", o.categories, "category ID (repeatable)");
    app.add_option("--tab", o.tab, "爱逛街 tab ID");
    app.add_flag("--new", o.new_goods, "the new-goods listing");
    app.add_option("--format", format, "output format")
        ->check(CLI::IsMember({"table", "csv", "json"}))
        ->default_str("table");
    app.add_option("--config", o.config, "settings file (default: korvel.ini beside the program)");
}

Format format_named(std::string_view name) {
    for (const Names& n : kFormats) {
        if (n.name == name)
            return n.format;
    }
    return Format::table;
}

bool wants_a_listing(const CheckOptions& o) {
    return !o.keywords.empty() || o.keywords_file || !o.categories.empty() || o.tab || o.new_goods;
}

ParsedCommandLine usage_error(std::string_view problem) {
    return {std::nullopt, kExitUsage, {}, usage_message(problem)};
}

std::string_view trim_blanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::string usage_message(std::string_view problem) {
    return std::string(kProgramName) + ": " + std::string(problem) +
           "\nRun with --help for more information.\n";
}

ParsedCommandLine parse_command_line(int argc, const char* const* argv) {
    CLI::App app(kDescription, std::string(kProgramName));
    app.footer(kFooter);
    CheckOptions options;
    std::string format = "table";
    declare(app, options, format);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return {std::nullopt, kExitAllRead, app.help(), {}};
    } catch (const CLI::ParseError& e) {
        return usage_error(e.what());
    }
    if (!wants_a_listing(options))
        return usage_error(
            "nothing to check: give --keyword, --keywords-file, --category, "
            "--tab or --new");
    options.format = format_named(format);
    return {std::move(options), kExitAllRead, {}, {}};
}

std::vector<std::string> keyword_lines(std::string_view file_text) {
    if (file_text.starts_with("\xEF\xBB\xBF"))
        file_text.remove_prefix(3);
    std::vector<std::string> keywords;
    std::size_t start = 0;
    while (start < file_text.size()) {
        const std::size_t end = std::min(file_text.find('\n', start), file_text.size());
        const std::string_view line = trim_blanks(file_text.substr(start, end - start));
        if (!line.empty())
            keywords.emplace_back(line);
        start = end + 1;
    }
    return keywords;
}

}  // namespace cli
