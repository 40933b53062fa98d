#pragma once
// korvel-check's command line: what it asks for, as typed (UTF-8). Parsing
// checks only the shape of the options; make_plan (check_plan.h) decides
// whether their values can be checked.
#include <optional>
#include <string>
#include <vector>

namespace cli {

enum class Format { table, csv, json };

struct CheckOptions {
    std::vector<std::string> goods;     // Goods IDs or goods links
    std::vector<std::string> keywords;  // from --keyword
    std::optional<std::string> keywords_file;
    std::string sort = "default";  // a sort name, or "all"
    std::vector<std::string> categories;
    std::optional<std::string> tab;
    bool new_goods = false;
    Format format = Format::table;
    std::optional<std::string> config;
};

// Either options to run with, or how the program ends at once: the help text
// (exit 0, on stdout) or a usage error (exit 64, on stderr).
struct ParsedCommandLine {
    std::optional<CheckOptions> options;
    int exit_code = 0;
    std::string out;
    std::string err;
};

ParsedCommandLine parse_command_line(int argc, const char* const* argv);

// The keywords of a keywords file (UTF-8, one per line): a byte-order mark
// and surrounding blanks dropped, blank lines skipped.
std::vector<std::string> keyword_lines(std::string_view file_text);

}  // namespace cli
