#include "app/skin.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace app {

namespace {

constexpr std::string_view kSkinHeader{".SHE\0", 5};

// The file is rewritten at every start; a directory we may not write to only
// means the embedded block is applied straight away.
void write_skin_file(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const std::string_view block = skin_block();
    file.write(block.data(), static_cast<qint64>(block.size()));
}

QByteArray read_skin_file(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

}  // namespace

std::string_view skin_style_sheet(std::string_view skin_file) {
    if (!skin_file.starts_with(kSkinHeader))
        return {};
    return skin_file.substr(kSkinHeader.size());
}

QString default_skin_dir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void install_skin_into(const QString& dir) {
    QByteArray on_disk;
    if (!dir.isEmpty()) {
        const QString path = QDir(dir).filePath(QString::fromUtf8(kSkinFileName));
        QDir().mkpath(dir);
        write_skin_file(path);
        on_disk = read_skin_file(path);
    }
    std::string_view sheet =
        skin_style_sheet({on_disk.constData(), static_cast<std::size_t>(on_disk.size())});
    if (sheet.empty())
        sheet = skin_style_sheet(skin_block());
    if (auto* gui = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        gui->setStyleSheet(QString::fromUtf8(sheet.data(), static_cast<qsizetype>(sheet.size())));
    }
}

}  // namespace app
