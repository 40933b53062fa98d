#include "app/self_update.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "app/deleter_script.h"
#include "app/self_update_download.h"
#include "app/self_update_profile.h"
#include "app/settings.h"
#include "app/version.h"
#include "net/fetch_page.h"
#include "net/hosts.h"
#include "net/message_box.h"
#include "net/remote_addresses.h"
#include "text/codepage.h"
#include "text/primitives.h"
#include "ui/control.h"
#include "ui/widget_text.h"

namespace app {

namespace {

constexpr int kTaskModalOk = 0x2000;  // one OK button, no icon, task-modal

UpdateHooks& hooks() {
    static UpdateHooks h;
    return h;
}

struct ProgramFile {
    QString dir;   // absolute, with '/' separators
    QString name;  // file name without directory
};

ProgramFile running_program() {
    const QString path =
        hooks().program_path ? hooks().program_path() : QCoreApplication::applicationFilePath();
    const QFileInfo info(path);
    return {info.absolutePath(), info.fileName()};
}

void end_process(int code) {
    if (hooks().end_process)
        return hooks().end_process(code);
    std::fflush(nullptr);
    std::_Exit(code);
}

// Beside the program in a build or a portable copy; in the helper directory
// (libexec/korvel) relative to bin/ once installed.
QString deleter_program() {
    if (hooks().deleter_program)
        return hooks().deleter_program();
    const QString dir = QCoreApplication::applicationDirPath();
    return QStandardPaths::findExecutable(
        QStringLiteral("korvel-deleter"),
        {dir, QDir::cleanPath(dir + QStringLiteral("/" KORVEL_HELPER_DIR_FROM_BIN))});
}

// Permissions alone do not tell (read-only mounts, the superuser): a file
// actually created there does.
bool dir_writable(const QString& dir) {
    if (hooks().dir_writable)
        return hooks().dir_writable(dir);
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".korvel-write-XXXXXX")));
    return probe.open();
}

std::filesystem::path to_path(const QString& s) {
    const QByteArray utf8 = s.toUtf8();
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()),
                                               static_cast<std::size_t>(utf8.size())));
}

std::string read_file(const QString& path) {
    std::ifstream in(to_path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Failures are not reported: the update goes on without the file.
void write_file(const QString& path, const std::string& bytes) {
    std::ofstream out(to_path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The old program file's name is left for the new version in "配置.ini".
void record_old_program(const ProgramFile& self) {
    const QString ini = QDir(self.dir).filePath(QStringLiteral("配置.ini"));
    write_file(ini, with_profile_entry(read_file(ini), GBK("配置"), GBK("待删旧版"),
                                       ui::from_qstring(self.name)));
}

void start_new_program(const QString& path, const QString& dir) {
    std::error_code ec;
    std::filesystem::permissions(to_path(path),
                                 std::filesystem::perms::owner_exec |
                                     std::filesystem::perms::group_exec |
                                     std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add, ec);
    // startDetached returns once the new process runs (or could not be started).
    QProcess::startDetached(path, {}, dir);
}

// Our stand-in for the script host: the deleter program waits until this
// process has ended and then does what the script says.
void start_deleter(const QString& script_path) {
    const QString program = deleter_program();
    if (program.isEmpty())
        return;
    QProcess deleter;
    deleter.setProgram(program);
    deleter.setArguments({QString::number(QCoreApplication::applicationPid()), script_path});
    deleter.setStandardInputFile(QProcess::nullDevice());
    deleter.setStandardOutputFile(QProcess::nullDevice());
    deleter.setStandardErrorFile(QProcess::nullDevice());
    deleter.startDetached();
}

void leave_deleter_and_end(const ProgramFile& self) {
    const QString script_path = QDir(self.dir).filePath(ui::to_qstring(kDeleterScriptName));
    write_file(script_path,
               deleter_script_text(ui::from_qstring(QDir::toNativeSeparators(self.dir)),
                                   ui::from_qstring(self.name)));
    start_deleter(QDir::toNativeSeparators(script_path));
    end_process(0);
}

}  // namespace

void set_update_hooks(UpdateHooks h) {
    hooks() = std::move(h);
}

void run_update_check(app::Context& ctx) {
    std::string url = net::announcement_url(configuration().hosts);
    const VersionRecord record = parse_version_record(text::as_text(net::fetch_page(url)));
    if (!is_other_version(record) || !is_plain_version(record.version))
        return;

    const ProgramFile self = running_program();
    if (!dir_writable(self.dir)) {
        net::show_message(GBK("有新版本") + record.version + GBK("!当前版本") +
                              std::string(kOwnVersion) +
                              GBK("\r\n程序目录不能写入，不能自动更新，请更新软件包。"),
                          kTaskModalOk, GBK("信息："));
        return;
    }
    auto* bar = ui::control<QProgressBar>(ctx.window, "进度条1");
    ctx.window.show();
    if (bar != nullptr)
        bar->show();
    net::show_message(GBK("有新版本!当前版本2.0\r\n请更新!"), kTaskModalOk, GBK("信息："));

    const QString new_name = ui::to_qstring(new_program_file_name(record.version));
    // Downloading over the running program file would leave nothing to start
    // once the deleter has run: count it as a failed download.
    if (new_name == self.name)
        return;
    const QString target = QDir(self.dir).filePath(new_name);
    if (!download_with_progress(record.address, to_path(target), bar))
        return;

    record_old_program(self);
    ctx.window.setWindowTitle(ui::to_qstring(GBK("下载完成")));
    start_new_program(target, self.dir);
    leave_deleter_and_end(self);
}

}  // namespace app
