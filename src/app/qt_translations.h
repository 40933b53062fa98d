#pragma once
// Qt's own Chinese texts (file dialogs, standard buttons, context menus of
// text fields), from the translations Qt installs beside itself.
#include <QTranslator>
#include <memory>

namespace app {

// The loaded translator, or null when the translations are not installed
// (the dialogs then stay in Qt's English).
std::unique_ptr<QTranslator> qt_chinese_translator();

}  // namespace app
