// Building MainWindow's controls from the window description.
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <type_traits>

#include "app/main_window.h"
#include "app/window_description.h"
#include "text/codepage.h"
#include "ui/control.h"
#include "ui/design_tab_widget.h"
#include "ui/transparent_label.h"
#include "ui/widget_text.h"

namespace app {

namespace {

// Controls were drawn for a 12-pixel font; a larger one would not fit the boxes.
constexpr int kFontPixels = 12;
// The drop-down part of a combo box shows at least this much of a long list.
constexpr int kDropDownMinHeight = 160;

QRect rect_of(const Rect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

QColor color_of(int rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QComboBox* new_combo_box(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(false);
    // Rows are never lower than the font, so this many rows are tall enough.
    const int row = std::max(1, box->fontMetrics().height());
    box->setMaxVisibleItems(std::max(10, (kDropDownMinHeight + row - 1) / row));
    box->setCurrentIndex(-1);
    return box;
}

QLabel* new_label(QWidget* parent, bool transparent) {
    QLabel* label = transparent ? new ui::TransparentLabel(parent) : new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Labels show goods and shop names from remote pages: a name holding tags
    // must be shown as written, not drawn as markup. No caption of the window
    // uses markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPlainTextEdit* new_multi_line_edit(QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    // No box takes tab characters (keywords, results): Tab goes to the next field.
    edit->setTabChangesFocus(true);
    return edit;
}

ui::DesignTabWidget* new_tab_control(QWidget* parent) {
    auto* tabs = new ui::DesignTabWidget(parent);
    // Six captions share 431 pixels: narrow tabs, so no scroll arrows are needed.
    tabs->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 3px 6px; margin-right: 1px; border: 1px solid #a8a8a8;"
        " border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px;"
        " background: #e4e4e4; }"
        "QTabBar::tab:selected { background: #fafafa; }"
        "QTabBar::tab:!selected { margin-top: 2px; }"));
    for (const char* caption : page_captions()) {
        tabs->addTab(new QWidget(tabs), ui::to_qstring(text::utf8_to_gbk(caption)));
    }
    tabs->setCurrentIndex(0);
    return tabs;
}

QWidget* new_widget(ControlKind kind, QWidget* parent) {
    switch (kind) {
        case ControlKind::Label:
            return new_label(parent, false);
        case ControlKind::TransparentLabel:
            return new_label(parent, true);
        case ControlKind::LineEdit:
            return new QLineEdit(parent);
        case ControlKind::MultiLineEdit:
            return new_multi_line_edit(parent);
        case ControlKind::Button:
            return new QPushButton(parent);
        case ControlKind::RadioButton:
            return new QRadioButton(parent);
        case ControlKind::ComboBox:
            return new_combo_box(parent);
        case ControlKind::GroupBox:
            return new QGroupBox(parent);
        case ControlKind::TabControl:
            return new_tab_control(parent);
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            return bar;
        }
        case ControlKind::WebBrowser:
            return new QWebEngineView(parent);
        case ControlKind::HtmlViewer:
            return nullptr;
    }
    return nullptr;
}

void apply_colors(QWidget* widget, const ControlSpec& spec) {
    if (spec.text_rgb == kNoColor && spec.background_rgb == kNoColor)
        return;
    QPalette palette = widget->palette();
    if (spec.text_rgb != kNoColor) {
        palette.setColor(QPalette::Text, color_of(spec.text_rgb));
        palette.setColor(QPalette::WindowText, color_of(spec.text_rgb));
    }
    if (spec.background_rgb != kNoColor)
        palette.setColor(QPalette::Base, color_of(spec.background_rgb));
    widget->setPalette(palette);
}

void apply_content(QWidget* widget, const ControlSpec& spec) {
    if (*spec.content == '\0')
        return;
    ui::write_text(widget, text::utf8_to_gbk(spec.content));
}

// The widget that holds a control: a tab page, an enclosing window control or
// the window itself.
QWidget* holder_of(QWidget& window, const ControlSpec& spec) {
    if (spec.page != kOnWindow) {
        return ui::control<QTabWidget>(window, "选择夹1")->widget(spec.page);
    }
    if (spec.parent != nullptr)
        return ui::control<QWidget>(window, spec.parent);
    return &window;
}

void place(QWidget& window, QWidget* widget, const ControlSpec& spec) {
    if (spec.page != kOnWindow) {
        return ui::control<ui::DesignTabWidget>(window, "选择夹1")
            ->place_on_page(widget, rect_of(spec.geometry));
    }
    widget->setGeometry(rect_of(spec.geometry));
}

// The goods input of the first page takes the keyboard when the window first
// becomes active (the first field in creation order would be the
// announcement box).
void set_first_focus(QWidget& window) {
    if (auto* goods = ui::control<QLineEdit>(window, "编辑框2"))
        goods->setFocus(Qt::OtherFocusReason);
}

}  // namespace

void MainWindow::build_controls() {
    const WindowSpec& spec = window_spec();
    setWindowTitle(QString::fromUtf8(spec.title));
    QFont window_font = font();
    // Chinese UI fonts first where present, so Latin text matches them.
    window_font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"),
                             QStringLiteral("Microsoft YaHei"), QStringLiteral("PingFang SC"),
                             QStringLiteral("Noto Sans CJK SC"), window_font.family()});
    window_font.setPixelSize(kFontPixels);
    setFont(window_font);
    // Outer geometry is settled once the frame is known (fit_outer_geometry).
    setGeometry(rect_of(spec.outer));
    setFixedSize(spec.outer.width, spec.outer.height);

    for (const ControlSpec& control : control_specs()) {
        if (control.kind == ControlKind::HtmlViewer) {
            auto* page = new QWebEnginePage(this);
            page->setObjectName(QString::fromUtf8(control.name));
            continue;
        }
        QWidget* widget = new_widget(control.kind, holder_of(*this, control));
        widget->setObjectName(QString::fromUtf8(control.name));
        place(*this, widget, control);
        apply_colors(widget, control);
        if (control.font_pixels > 0) {
            QFont own = widget->font();
            own.setPixelSize(control.font_pixels);
            widget->setFont(own);
        }
        apply_content(widget, control);
        if (auto* radio = qobject_cast<QRadioButton*>(widget))
            radio->setChecked(control.checked);
        widget->setEnabled(control.enabled);
        // Hidden explicitly, or children of a shown window would appear.
        widget->setVisible(control.visible);
    }
    set_first_focus(*this);
}

// Binds a member to the control of the same name.
#define KORVEL_FIND(member) \
    member = ui::control<std::remove_pointer_t<decltype(member)>>(*this, #member)

void MainWindow::find_members() {
    KORVEL_FIND(分组框1);
    KORVEL_FIND(编辑框20);
    KORVEL_FIND(选择夹1);
    KORVEL_FIND(进度条1);
    超文本浏览框1 = findChild<QWebEnginePage*>(QStringLiteral("超文本浏览框1"));

    KORVEL_FIND(单选框综合);
    KORVEL_FIND(单选框销量);
    KORVEL_FIND(单选框评分);
    KORVEL_FIND(单选框价格低);
    KORVEL_FIND(单选框价格高);
    KORVEL_FIND(标签2);
    KORVEL_FIND(编辑框2);
    KORVEL_FIND(按钮关键词排名搜索);
    KORVEL_FIND(标签3);
    KORVEL_FIND(编辑框3);
    KORVEL_FIND(标签6);
    KORVEL_FIND(标签7);
    KORVEL_FIND(编辑框5);

    KORVEL_FIND(标签4);
    KORVEL_FIND(组合框1);
    KORVEL_FIND(标签5);
    KORVEL_FIND(组合框2);
    KORVEL_FIND(标签8);
    KORVEL_FIND(组合框3);
    KORVEL_FIND(标签9);
    KORVEL_FIND(编辑框12);
    KORVEL_FIND(按钮类目排名搜索);
    KORVEL_FIND(标签13);
    KORVEL_FIND(标签12);
    KORVEL_FIND(透明标签1);
    KORVEL_FIND(标签10);
    KORVEL_FIND(标签11);
    KORVEL_FIND(标签20);
    KORVEL_FIND(编辑框13);

    KORVEL_FIND(标签14);
    KORVEL_FIND(组合框4);
    KORVEL_FIND(标签15);
    KORVEL_FIND(编辑框16);
    KORVEL_FIND(按钮爱逛街查询);
    KORVEL_FIND(标签17);
    KORVEL_FIND(标签16);
    KORVEL_FIND(透明标签2);
    KORVEL_FIND(标签18);
    KORVEL_FIND(标签19);
    KORVEL_FIND(标签21);
    KORVEL_FIND(编辑框17);

    KORVEL_FIND(标签22);
    KORVEL_FIND(编辑框18);
    KORVEL_FIND(按钮新品查询);
    KORVEL_FIND(标签23);
    KORVEL_FIND(标签24);
    KORVEL_FIND(标签25);
    KORVEL_FIND(标签26);
    KORVEL_FIND(标签27);
    KORVEL_FIND(编辑框19);

    KORVEL_FIND(Tovin网页框1);
    KORVEL_FIND(标签28);

    sort_order = new QButtonGroup(this);
    sort_order->setExclusive(true);
    for (QRadioButton* radio : {单选框综合, 单选框销量, 单选框评分, 单选框价格低, 单选框价格高}) {
        sort_order->addButton(radio);
    }
}

#undef KORVEL_FIND

}  // namespace app
