// Every row of the window description against the widget built from it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/skin.h"
#include "app/window_description.h"
#include "qt/test_window.h"
#include "text/codepage.h"
#include "ui/design_tab_widget.h"
#include "ui/transparent_label.h"
#include "ui/widget_text.h"

namespace {

using app::ControlKind;
using app::ControlSpec;

bool has_kind(const QObject* object, ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return qobject_cast<const QLabel*>(object) &&
                   !qobject_cast<const ui::TransparentLabel*>(object);
        case ControlKind::TransparentLabel:
            return qobject_cast<const ui::TransparentLabel*>(object) != nullptr;
        case ControlKind::LineEdit:
            return qobject_cast<const QLineEdit*>(object) != nullptr;
        case ControlKind::MultiLineEdit:
            return qobject_cast<const QPlainTextEdit*>(object) != nullptr;
        case ControlKind::Button:
            return qobject_cast<const QPushButton*>(object) != nullptr;
        case ControlKind::RadioButton:
            return qobject_cast<const QRadioButton*>(object) != nullptr;
        case ControlKind::ComboBox: {
            auto* box = qobject_cast<const QComboBox*>(object);
            return box != nullptr && !box->isEditable();
        }
        case ControlKind::GroupBox:
            return qobject_cast<const QGroupBox*>(object) != nullptr;
        case ControlKind::TabControl:
            return qobject_cast<const ui::DesignTabWidget*>(object) != nullptr;
        case ControlKind::ProgressBar:
            return qobject_cast<const QProgressBar*>(object) != nullptr;
        case ControlKind::WebBrowser:
            return qobject_cast<const QWebEngineView*>(object) != nullptr;
        case ControlKind::HtmlViewer:
            return qobject_cast<const QWebEnginePage*>(object) != nullptr;
    }
    return false;
}

QRect design_rect(const ControlSpec& spec) {
    return QRect(spec.geometry.left, spec.geometry.top, spec.geometry.width, spec.geometry.height);
}

// The widget's rectangle in the coordinates its row is written in.
QRect rect_as_designed(const QWidget* widget, const ControlSpec& spec, QWidget* tabs) {
    if (spec.page == app::kOnWindow)
        return widget->geometry();
    return QRect(widget->mapTo(tabs, QPoint(0, 0)), widget->size());
}

QWidget* expected_parent(app::MainWindow& window, const ControlSpec& spec) {
    if (spec.page != app::kOnWindow)
        return window.选择夹1->widget(spec.page);
    if (spec.parent != nullptr)
        return window.findChild<QWidget*>(QString::fromUtf8(spec.parent));
    return &window;
}

QColor rgb(int value) {
    return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void check_widget(app::MainWindow& window, const ControlSpec& spec, QWidget* widget) {
    EXPECT_EQ(widget->parentWidget(), expected_parent(window, spec));
    EXPECT_EQ(rect_as_designed(widget, spec, window.选择夹1), design_rect(spec));
    EXPECT_EQ(!widget->isHidden(), spec.visible);
    EXPECT_EQ(widget->isEnabled(), spec.enabled);
    EXPECT_EQ(ui::read_text(widget), text::utf8_to_gbk(spec.content));
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        EXPECT_EQ(radio->isChecked(), spec.checked);
    }
    if (spec.text_rgb != app::kNoColor) {
        EXPECT_EQ(widget->palette().color(QPalette::Text), rgb(spec.text_rgb));
    }
    if (spec.background_rgb != app::kNoColor) {
        EXPECT_EQ(widget->palette().color(QPalette::Base), rgb(spec.background_rgb));
    }
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        EXPECT_EQ(box->currentIndex(), -1);
    }
}

TEST(WindowDescription, EveryControlIsBuiltAsItsRowSays) {
    qt_test::TestWindow w;
    w.window.show();
    int checked = 0;
    for (const ControlSpec& spec : app::control_specs()) {
        SCOPED_TRACE(spec.name);
        const QString name = QString::fromUtf8(spec.name);
        const QList<QObject*> found = w.window.findChildren<QObject*>(name);
        ASSERT_EQ(found.size(), 1);
        EXPECT_TRUE(has_kind(found.front(), spec.kind));
        if (auto* widget = qobject_cast<QWidget*>(found.front())) {
            check_widget(w.window, spec, widget);
        } else {
            EXPECT_EQ(spec.kind, ControlKind::HtmlViewer);
        }
        ++checked;
    }
    // 5 on the window, 13 + 16 + 12 + 9 + 1 + 1 on the pages.
    EXPECT_EQ(checked, 57);
}

TEST(WindowDescription, PageControlsKeepTheirPlaceUnderTheSkin) {
    // The skin changes the tab strip, and with it where the page area begins.
    qt_test::TestWindow w;
    w.window.show();
    const QPoint plain_origin = w.window.选择夹1->page_origin();
    const std::string_view sheet = app::skin_style_sheet(app::skin_block());
    qApp->setStyleSheet(QString::fromUtf8(sheet.data(), static_cast<qsizetype>(sheet.size())));
    QApplication::processEvents();
    const QPoint skinned_origin = w.window.选择夹1->page_origin();
    for (const ControlSpec& spec : app::control_specs()) {
        if (spec.page == app::kOnWindow)
            continue;
        SCOPED_TRACE(spec.name);
        auto* widget = w.window.findChild<QWidget*>(QString::fromUtf8(spec.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(rect_as_designed(widget, spec, w.window.选择夹1), design_rect(spec));
    }
    qApp->setStyleSheet(QString());
    EXPECT_NE(plain_origin, skinned_origin);  // the check above had something to catch
}

TEST(WindowDescription, WindowAndPagesAreAsDesigned) {
    qt_test::TestWindow w;
    w.window.show();
    const app::WindowSpec& spec = app::window_spec();
    EXPECT_EQ(w.window.windowTitle(), QString::fromUtf8(spec.title));
    // The offscreen platform draws no frame: the outer rectangle is the window's.
    EXPECT_EQ(w.window.frameGeometry(),
              QRect(spec.outer.left, spec.outer.top, spec.outer.width, spec.outer.height));
    ASSERT_EQ(w.window.选择夹1->count(), app::kPageCount);
    for (int page = 0; page < app::kPageCount; ++page) {
        EXPECT_EQ(w.window.选择夹1->tabText(page), QString::fromUtf8(app::page_captions()[page]));
    }
}

TEST(WindowDescription, SortOrderButtonsFormOneExclusiveGroup) {
    qt_test::TestWindow w;
    w.window.show();
    EXPECT_EQ(w.window.sort_order->buttons().size(), 5);
    w.window.单选框价格低->click();
    EXPECT_TRUE(w.window.单选框价格低->isChecked());
    EXPECT_FALSE(w.window.单选框综合->isChecked());
    EXPECT_EQ(w.window.sort_order->checkedButton(), w.window.单选框价格低);
}

TEST(WindowDescription, AnnouncementBoxIsRedOnWhite) {
    qt_test::TestWindow w;
    EXPECT_EQ(w.window.编辑框20->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(w.window.编辑框20->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(w.window.编辑框20->parentWidget(), w.window.分组框1);
}

}  // namespace
