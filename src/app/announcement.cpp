#include "app/announcement.h"

#include <QWidget>

#include "app/settings.h"
#include "net/fetch_page.h"
#include "net/hosts.h"
#include "net/remote_addresses.h"
#include "text/codepage.h"
#include "text/fields.h"
#include "text/lines.h"
#include "text/primitives.h"
#include "ui/control.h"
#include "ui/widget_text.h"

namespace app {

std::string announcement_text(std::string_view page) {
    // The page is made GBK before the markers are looked for: the searches
    // step over GBK double-byte characters, and on UTF-8 bytes that stepping
    // can swallow the "]" of a marker that follows a Chinese character.
    std::string start = "gonggao[";
    std::string end = "]jiesu";
    return text::text_between(text::utf8_to_gbk(text::as_text(page)), start, end);
}

std::string with_plain_spaces(std::string_view gbk) {
    return text::multi_replace(gbk, {{"&nbsp;", " "}});
}

void run_announcement(app::Context& ctx) {
    std::string url = net::announcement_url(configuration().hosts);
    QWidget* box = ui::control(ctx.window, "编辑框20");
    if (box == nullptr)
        return;
    // The box is written, read back and cleaned, so the cleaning sees the text
    // exactly as the box holds it (CR LF line ends).
    ui::write_text(box, announcement_text(net::fetch_page(url)));
    ui::write_text(box, with_plain_spaces(ui::read_text(box)));
}

}  // namespace app
