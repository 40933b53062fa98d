#include "app/settings.h"

#include <QCoreApplication>

namespace app {

std::filesystem::path settings_path() {
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()) /
           kSettingsFileName;
}

}  // namespace app
