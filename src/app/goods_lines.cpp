#include "app/goods_lines.h"

#include <QStringList>
#include <algorithm>

#include "text/primitives.h"
#include "ui/widget_text.h"

namespace app {

board::GoodsItem goods_item_of(const std::string& typed_gbk) {
    const std::string typed = text::trim(typed_gbk);
    const bool digits =
        !typed.empty() && typed.find_first_not_of("0123456789") == std::string::npos;
    return digits ? board::GoodsItem{typed, {}, {}, {}} : board::GoodsItem{{}, typed, {}, {}};
}

board::GoodsItem goods_item_of(const std::string& typed_gbk,
                               const std::vector<board::GoodsItem>& known) {
    board::GoodsItem item = goods_item_of(typed_gbk);
    for (const board::GoodsItem& k : known) {
        if (!item.link.empty() && item.link == k.link)
            return k;
        if (!item.id.empty() && item.id == k.id)
            return {item.id, {}, k.name, k.shop};
    }
    return item;
}

QString goods_names_text(const std::vector<board::GoodsItem>& items) {
    QStringList lines;
    for (const board::GoodsItem& item : items) {
        if (item.name.empty() && item.shop.empty())
            continue;
        QString line = ui::to_qstring(item.id.empty() ? item.link : item.id) + QStringLiteral("：");
        line += ui::to_qstring(item.name.empty() ? item.shop : item.name);
        if (!item.name.empty() && !item.shop.empty())
            line += QStringLiteral("（") + ui::to_qstring(item.shop) + QStringLiteral("）");
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace app
