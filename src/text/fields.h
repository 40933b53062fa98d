#pragma once
// Cutting fields out of GBK text between markers.
#include <string>
#include <string_view>

namespace text {

// The text between the first start_marker (found from start_position) and the
// next end_marker after it; empty when either is missing. Letter case is
// ignored unless case_matters. "#引号" in a marker stands for one double quote;
// the substituted marker is written back into the caller's variable.
std::string text_between(std::string_view text, std::string& start_marker, std::string& end_marker,
                         int start_position = 1, bool case_matters = false);

// The text before marker, or empty when the marker is absent.
std::string text_before(std::string_view text, std::string_view marker, int start_position = 1,
                        bool ignore_case = false);

}  // namespace text
