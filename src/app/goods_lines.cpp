#include "app/goods_lines.h"

#include <QStringList>
#include <algorithm>

#include "ui/widget_text.h"

namespace app {

board::GoodsItem with_known(const board::GoodsItem& item,
                            const std::vector<board::GoodsItem>& known) {
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
