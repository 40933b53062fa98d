#pragma once
// "[3/10] keyword 辣条 sales" on one line of a terminal's stderr that each
// step overwrites; nothing when stderr is no terminal.
#include <string_view>

namespace cli {

class ProgressLine {
  public:
    ProgressLine();
    ~ProgressLine();  // clears the line
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void show(std::size_t index, std::size_t total, std::string_view what);
    // Clears the line, so that a message can follow on a line of its own.
    void clear();

  private:
    bool shown_;
    bool used_ = false;
};

}  // namespace cli
