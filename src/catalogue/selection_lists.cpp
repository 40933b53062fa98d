#include "catalogue/selection_lists.h"

#include <QComboBox>
#include <QStringList>

#include "catalogue/category_line.h"
#include "ui/control.h"
#include "ui/widget_text.h"

namespace catalogue {

std::string& buffer_of(ui::ProgramData& data, ListKind kind) {
    switch (kind) {
        case ListKind::Level1:
            return data.编辑框9;
        case ListKind::Level2:
            return data.编辑框10;
        case ListKind::Level3:
            return data.编辑框11;
        case ListKind::Tabs:
            break;
    }
    return data.编辑框14;
}

std::vector<std::string>& ids_of(ui::ProgramData& data, ListKind kind) {
    switch (kind) {
        case ListKind::Level1:
            return data.level1_ids;
        case ListKind::Level2:
            return data.level2_ids;
        case ListKind::Level3:
            return data.level3_ids;
        case ListKind::Tabs:
            break;
    }
    return data.tab_ids;
}

std::string& holder_of(ui::ProgramData& data, ListKind kind) {
    switch (kind) {
        case ListKind::Level1:
            return data.编辑框6;
        case ListKind::Level2:
            return data.编辑框7;
        case ListKind::Level3:
            return data.编辑框8;
        case ListKind::Tabs:
            break;
    }
    return data.编辑框15;
}

const char* box_name(ListKind kind) {
    switch (kind) {
        case ListKind::Level1:
            return "组合框1";
        case ListKind::Level2:
            return "组合框2";
        case ListKind::Level3:
            return "组合框3";
        case ListKind::Tabs:
            break;
    }
    return "组合框4";
}

QComboBox* box_of(ui::Context& ctx, ListKind kind) {
    return ui::control<QComboBox>(ctx.window, box_name(kind));
}

void clear_box(ui::Context& ctx, ListKind kind) {
    ids_of(ctx.data, kind).clear();
    if (QComboBox* box = box_of(ctx, kind))
        box->clear();
}

void fill(ui::Context& ctx, ListKind kind) {
    QComboBox* box = box_of(ctx, kind);
    if (box == nullptr)
        return;
    if (kind != ListKind::Level1)
        clear_box(ctx, kind);

    std::vector<std::string>& ids = ids_of(ctx.data, kind);
    QStringList names;
    for (CategoryEntry& entry : parse_category_lines(buffer_of(ctx.data, kind))) {
        names.append(ui::to_qstring(entry.name));
        ids.push_back(std::move(entry.id));
    }
    // A combo box picks item 0 by itself when its first items arrive; keep
    // whatever the user had chosen (nothing, for a fresh box) instead.
    const int chosen = box->currentIndex();
    box->addItems(names);
    box->setCurrentIndex(chosen);
}

void store_selection(ui::Context& ctx, ListKind kind) {
    QComboBox* box = box_of(ctx, kind);
    if (box == nullptr)
        return;
    const int index = box->currentIndex();
    const std::vector<std::string>& ids = ids_of(ctx.data, kind);
    if (index < 0 || static_cast<std::size_t>(index) >= ids.size())
        return;
    holder_of(ctx.data, kind) = ids[static_cast<std::size_t>(index)];
}

}  // namespace catalogue
