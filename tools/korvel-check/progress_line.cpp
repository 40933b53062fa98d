#include "progress_line.h"

#include <cstdio>
#include <string>

#include "program_location.h"

namespace cli {

ProgressLine::ProgressLine() : shown_(stderr_is_terminal()) {}

ProgressLine::~ProgressLine() {
    clear();
}

void ProgressLine::show(std::size_t index, std::size_t total, std::string_view what) {
    if (!shown_)
        return;
    used_ = true;
    const std::string line = "\r[" + std::to_string(index) + "/" + std::to_string(total) + "] " +
                             std::string(what) + "\x1b[K";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

void ProgressLine::clear() {
    if (shown_ && used_)
        std::fputs("\r\x1b[K", stderr);
    used_ = false;
}

}  // namespace cli
