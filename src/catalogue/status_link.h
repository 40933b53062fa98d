#pragma once
// The status links 透明标签1 (category levels) and 透明标签2 (爱逛街 tabs): a
// blue caption while a list loads, a red one offering a retry after a failed
// load. The transitions are pure functions of the link's state and the number
// of lines a load left in its buffer; the window only shows the result.
#include <string>
#include <string_view>

namespace catalogue {

enum class Link { category, tabs };  // 透明标签1, 透明标签2

enum class LinkColour { Unchanged, Blue, Red };  // Blue = (0,0,255), Red = (255,0,0)

struct LinkState {
    bool visible = false;
    bool enabled = false;
    std::string caption;
    // Unchanged: the link keeps the colour it was given last (its designed
    // colour before any load).
    LinkColour colour = LinkColour::Unchanged;

    bool operator==(const LinkState&) const = default;
};

// After a retry the link may also announce success with a "获取成功" box; the
// link is disabled only once that box has been closed (after_success_box).
struct RetryOutcome {
    LinkState link;
    bool announce_success = false;
};

// A level-1 list counts as loaded from this many lines on; the tab list from
// kTabsLoadedLines.
inline constexpr int kLevel1LoadedLines = 5;
inline constexpr int kTabsLoadedLines = 2;

// Captions (GBK).
const std::string& level1_loading_caption();
const std::string& level1_failed_caption();        // after a first visit
const std::string& level1_retry_failed_caption();  // after a retry
const std::string& level2_loading_caption();
const std::string& level3_loading_caption();
const std::string& tabs_loading_caption();
const std::string& tabs_failed_caption();
const std::string& success_message();
const std::string& message_caption();

// Shown in blue with `caption`; enabled as it was.
LinkState loading(LinkState link, std::string_view caption);
LinkState hidden(LinkState link);

LinkState after_level1_first_visit(LinkState link, int lines);
RetryOutcome after_level1_retry(LinkState link, int lines);
LinkState after_tabs_load(LinkState link, int lines);
// Follows after_tabs_load when the load was a retry.
RetryOutcome after_tabs_retry(LinkState link, int lines);
LinkState after_success_box(LinkState link);

}  // namespace catalogue
