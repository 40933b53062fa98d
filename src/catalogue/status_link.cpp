#include "catalogue/status_link.h"

#include "text/codepage.h"

namespace catalogue {

namespace {

LinkState failed(LinkState link, const std::string& caption) {
    link.colour = LinkColour::Red;
    link.caption = caption;
    link.visible = true;
    return link;
}

}  // namespace

const std::string& level1_loading_caption() {
    return GBK("一级类目获取中……");
}
const std::string& level1_failed_caption() {
    return GBK("获取类目名称失败，点击这里重新获取…");
}
const std::string& level1_retry_failed_caption() {
    return GBK("获取一级类目名称失败，点击这里重新获取……");
}
const std::string& level2_loading_caption() {
    return GBK("二级类目获取中……");
}
const std::string& level3_loading_caption() {
    return GBK("三级类目获取中……");
}
const std::string& tabs_loading_caption() {
    return GBK("爱逛街类目获取中…");
}
const std::string& tabs_failed_caption() {
    return GBK("获取类目失败，点击这里重新获取…");
}
const std::string& success_message() {
    return GBK("获取成功");
}
const std::string& message_caption() {
    return GBK("信息：");
}

LinkState loading(LinkState link, std::string_view caption) {
    link.visible = true;
    link.colour = LinkColour::Blue;
    link.caption = std::string(caption);
    return link;
}

LinkState hidden(LinkState link) {
    link.visible = false;
    return link;
}

LinkState after_level1_first_visit(LinkState link, int lines) {
    if (lines >= kLevel1LoadedLines)
        return hidden(std::move(link));
    link.enabled = true;
    return failed(std::move(link), level1_failed_caption());
}

RetryOutcome after_level1_retry(LinkState link, int lines) {
    if (lines >= kLevel1LoadedLines)
        return {hidden(std::move(link)), true};
    return {failed(std::move(link), level1_retry_failed_caption()), false};
}

LinkState after_tabs_load(LinkState link, int lines) {
    link = hidden(std::move(link));
    if (lines >= kTabsLoadedLines)
        return link;
    link.enabled = true;
    return failed(std::move(link), tabs_failed_caption());
}

RetryOutcome after_tabs_retry(LinkState link, int lines) {
    if (lines >= kTabsLoadedLines)
        return {hidden(std::move(link)), true};
    return {failed(std::move(link), tabs_failed_caption()), false};
}

LinkState after_success_box(LinkState link) {
    link.enabled = false;
    return link;
}

}  // namespace catalogue
