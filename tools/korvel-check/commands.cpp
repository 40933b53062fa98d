#include "commands.h"

#include <fstream>
#include <iostream>

#include "exit_codes.h"
#include "text/printable.h"

namespace cli {

int usage_error(std::string_view problem, const std::vector<std::string>& details) {
    if (details.empty()) {
        std::cerr << usage_message(problem) << std::flush;
        return kExitUsage;
    }
    std::string text = std::string(kProgramName) + ": " + text::printable(problem) + '\n';
    for (const std::string& detail : details)
        text += "  " + text::printable(detail) + '\n';
    std::cerr << text << std::flush;
    return kExitUsage;
}

int failure(std::string_view problem) {
    std::cerr << kProgramName << ": " << text::printable(problem) << std::endl;
    return kExitSomeFailed;
}

std::optional<std::string> read_file(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

}  // namespace cli
