// Behaviour of the window's own control kinds: combo drop-downs, the
// transparent labels, the program's message box.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/qt_message_box.h"
#include "qt/test_window.h"
#include "text/codepage.h"
#include "ui/design_tab_widget.h"
#include "ui/transparent_label.h"
#include "ui/widget_text.h"

namespace {

TEST(WindowComboBox, DropDownShowsAtLeast160PixelsOfALongList) {
    qt_test::TestWindow w;
    w.window.show();
    w.window.选择夹1->setCurrentIndex(2);
    QComboBox* box = w.window.组合框4;
    for (int i = 0; i < 50; ++i)
        box->addItem(QString::number(i));
    box->showPopup();
    QWidget* popup = box->view()->window();
    EXPECT_TRUE(popup->isVisible());
    EXPECT_GE(popup->height(), 160);
    box->hidePopup();
}

TEST(TransparentLabel, RunsItsActionOnALeftPressOnly) {
    QWidget page;
    auto* label = new ui::TransparentLabel(&page);
    label->setGeometry(0, 0, 100, 20);
    int presses = 0;
    label->set_on_left_press([&] { ++presses; });
    page.show();
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton);
    EXPECT_EQ(presses, 1);
    QTest::mousePress(label, Qt::RightButton);
    QTest::mouseRelease(label, Qt::RightButton);
    EXPECT_EQ(presses, 1);
    label->setEnabled(false);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(presses, 1);
    EXPECT_FALSE(label->autoFillBackground());
}

TEST(MessageBoxStyle, IconFollowsTheStyleBits) {
    const std::pair<int, QMessageBox::Icon> cases[] = {
        {0, QMessageBox::NoIcon},        {16, QMessageBox::Critical},
        {32, QMessageBox::Question},     {48, QMessageBox::Warning},
        {64, QMessageBox::Information},  {64 + 0, QMessageBox::Information},
        {16 + 1, QMessageBox::Critical}, {128, QMessageBox::NoIcon},
    };
    for (const auto& [style, icon] : cases)
        EXPECT_EQ(app::message_box_icon(style), icon) << style;
}

TEST(QtMessageBox, ShowsCaptionTextAndOkOverTheMainWindow) {
    qt_test::TestWindow w;
    w.window.show();
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* owner = nullptr;
    bool modal = false;
    // Answers the box as soon as it is up; checks again until it is.
    std::function<void()> answer_box = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return QTimer::singleShot(10, answer_box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        owner = box->parentWidget();
        modal = box->windowModality() == Qt::ApplicationModal;
        box->button(QMessageBox::Ok)->click();
    };
    QTimer::singleShot(0, answer_box);
    const int answer = app::show_qt_message_box(GBK("请输入商品ID"), 64, GBK("信息："));
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(title, QString::fromUtf8("信息："));
    EXPECT_EQ(text, QString::fromUtf8("请输入商品ID"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(owner, &w.window);
    EXPECT_TRUE(modal);
}

// Runs `inspect` on the program's message box once it is up, then closes it
// with its first button.
void answer_box_when_up(std::function<void(QMessageBox&)> inspect) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
        QTimer::singleShot(10, [inspect] { answer_box_when_up(inspect); });
        return;
    }
    inspect(*box);
    const auto buttons = box->buttons();
    if (!buttons.isEmpty())
        buttons.front()->click();
    else
        box->reject();
}

TEST(QtMessageBox, ItsOneButtonReadsQueding) {
    qt_test::TestWindow w;
    w.window.show();
    QStringList captions;
    bool is_ok_button = false;
    QTimer::singleShot(0, [&] {
        answer_box_when_up([&](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons())
                captions << button->text();
            is_ok_button = box.button(QMessageBox::Ok) != nullptr;
        });
    });
    EXPECT_EQ(app::show_qt_message_box(GBK("类目获取成功"), 0, GBK("信息：")), 0);
    EXPECT_EQ(captions, QStringList{QString::fromUtf8("确定")});
    EXPECT_TRUE(is_ok_button);
}

TEST(QtMessageBox, TaggedTextIsShownAsWritten) {
    qt_test::TestWindow w;
    w.window.show();
    Qt::TextFormat box_format = Qt::AutoText;
    Qt::TextFormat label_format = Qt::AutoText;
    QString shown;
    QTimer::singleShot(0, [&] {
        answer_box_when_up([&](QMessageBox& box) {
            box_format = box.textFormat();
            // The label that draws the message.
            if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
                label_format = label->textFormat();
                shown = label->text();
            }
        });
    });
    app::show_qt_message_box(GBK("<h1>店铺</h1>"), 64, GBK("信息："));
    EXPECT_EQ(box_format, Qt::PlainText);
    EXPECT_EQ(label_format, Qt::PlainText);
    EXPECT_EQ(shown, QString::fromUtf8("<h1>店铺</h1>"));
}

}  // namespace
