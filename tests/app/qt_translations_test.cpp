// Qt's own dialogs speak Chinese once the program loads Qt's translations.
#include "app/qt_translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

TEST(QtTranslations, StandardButtonsSayChinese) {
    const std::unique_ptr<QTranslator> chinese = app::qt_chinese_translator();
    ASSERT_NE(chinese, nullptr) << "qt6-translations-l10n is not installed";
    QCoreApplication::installTranslator(chinese.get());
    QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    const QString cancel = box.button(QDialogButtonBox::Cancel)->text();
    const QString save = box.button(QDialogButtonBox::Save)->text();
    QCoreApplication::removeTranslator(chinese.get());
    EXPECT_EQ(cancel, QStringLiteral("取消"));
    EXPECT_EQ(save, QStringLiteral("保存"));
}
