#include "catalogue/selection_lists.h"

#include <QComboBox>
#include <QStringList>

#include "catalogue/category_line.h"
#include "ui/control.h"
#include "ui/widget_text.h"

namespace catalogue {

namespace {

// The four selection lists, in ListKind order: where each keeps its buffer,
// id list and id holder, and which combo box shows it.
struct ListSlots {
    std::string ui::ProgramData::*buffer;
    std::vector<std::string> ui::ProgramData::*ids;
    std::string ui::ProgramData::*holder;
    const char* box;
};

const ListSlots& slots_of(ListKind kind) {
    static const ListSlots table[] = {
        {&ui::ProgramData::编辑框9, &ui::ProgramData::level1_ids, &ui::ProgramData::编辑框6,
         "组合框1"},
        {&ui::ProgramData::编辑框10, &ui::ProgramData::level2_ids, &ui::ProgramData::编辑框7,
         "组合框2"},
        {&ui::ProgramData::编辑框11, &ui::ProgramData::level3_ids, &ui::ProgramData::编辑框8,
         "组合框3"},
        {&ui::ProgramData::编辑框14, &ui::ProgramData::tab_ids, &ui::ProgramData::编辑框15,
         "组合框4"},
    };
    return table[static_cast<int>(kind)];
}

}  // namespace

std::string& buffer_of(ui::ProgramData& data, ListKind kind) {
    return data.*slots_of(kind).buffer;
}

std::vector<std::string>& ids_of(ui::ProgramData& data, ListKind kind) {
    return data.*slots_of(kind).ids;
}

std::string& holder_of(ui::ProgramData& data, ListKind kind) {
    return data.*slots_of(kind).holder;
}

const char* box_name(ListKind kind) {
    return slots_of(kind).box;
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
