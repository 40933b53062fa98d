// Names from remote pages are shown as written: a name holding tags is
// neither drawn as markup nor cut, and the window's own captions look as they
// always did.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QTextDocument>

#include "app/window_description.h"
#include "qt/test_window.h"
#include "text/codepage.h"
#include "ui/control.h"
#include "ui/widget_text.h"

namespace {

bool is_label(const app::ControlSpec& spec) {
    return spec.kind == app::ControlKind::Label || spec.kind == app::ControlKind::TransparentLabel;
}

// The shop and goods names of the category, tab and new-goods pages.
constexpr const char* kNameLabels[] = {"标签12", "标签11", "标签16", "标签19", "标签24", "标签26"};

TEST(RemoteText, EveryLabelOfTheWindowIsPlainText) {
    qt_test::TestWindow w;
    int rows = 0;
    for (const app::ControlSpec& spec : app::control_specs()) {
        if (!is_label(spec))
            continue;
        auto* label = ui::control<QLabel>(w.window, spec.name);
        ASSERT_NE(label, nullptr) << spec.name;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << spec.name;
        ++rows;
    }
    // Every named label of the window, also one built outside the table.
    int named = 0;
    for (const QLabel* label : w.window.findChildren<QLabel*>()) {
        if (label->objectName().isEmpty())
            continue;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        ++named;
    }
    EXPECT_GT(rows, 0);
    EXPECT_GE(named, rows);
}

TEST(RemoteText, TaggedNamesAreShownAsWritten) {
    qt_test::TestWindow w;
    for (const std::string& name :
         {std::string("<h1>x</h1>"), GBK("<b>辣条</b>店<br>铺"), std::string("a<script>b")}) {
        for (const char* control : kNameLabels) {
            auto* label = ui::control<QLabel>(w.window, control);
            ASSERT_NE(label, nullptr) << control;
            ui::write_text(label, name);
            EXPECT_EQ(ui::read_text(label), name) << control;
            // Drawn as markup, only the text between the tags would take room.
            const QString shown = ui::to_qstring(name);
            EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(shown))
                << control << ' ' << shown.toStdString();
            EXPECT_LT(label->sizeHint().height(), 2 * label->fontMetrics().height())
                << control << ' ' << shown.toStdString();
        }
    }
}

TEST(RemoteText, DesignedCaptionsLookAsWithAutomaticFormat) {
    qt_test::TestWindow w;
    for (const app::ControlSpec& spec : app::control_specs()) {
        if (!is_label(spec) || *spec.content == '\0')
            continue;
        auto* built = ui::control<QLabel>(w.window, spec.name);
        ASSERT_NE(built, nullptr) << spec.name;
        // No caption relies on markup (the tutorial's line breaks are plain
        // line ends), so plain text draws each exactly as before.
        EXPECT_FALSE(Qt::mightBeRichText(built->text())) << spec.name;
        QLabel automatic;
        automatic.setFont(built->font());
        automatic.setAlignment(built->alignment());
        automatic.setText(built->text());
        EXPECT_EQ(automatic.textFormat(), Qt::AutoText);
        EXPECT_EQ(built->sizeHint(), automatic.sizeHint()) << spec.name;
    }
}

}  // namespace
