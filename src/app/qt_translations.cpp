#include "app/qt_translations.h"

#include <QLibraryInfo>

namespace app {

std::unique_ptr<QTranslator> qt_chinese_translator() {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}

}  // namespace app
