#include "app/startup_sequence.h"

#include <QApplication>
#include <QTabWidget>
#include <QWebEngineView>
#include <iostream>

#include "app/main_window.h"
#include "app/platform.h"
#include "app/qt_event_pump.h"
#include "app/qt_message_box.h"
#include "app/settings.h"
#include "net/event_pump.h"
#include "net/hosts.h"
#include "net/message_box.h"
#include "net/remote_addresses.h"
#include "ui/design_tab_widget.h"

namespace app {

QUrl vendor_home_url(const std::string& vendor_host) {
    return QUrl(QString::fromStdString(net::http_url(vendor_host, "/")));
}

QUrl vendor_tools_url(const std::string& vendor_host) {
    return QUrl::fromUserInput(QString::fromStdString(net::vendor_tools_page(vendor_host)));
}

void run_startup_sequence(MainWindow& window, const StartupSteps& steps) {
    if (steps.install_skin)
        steps.install_skin();
    if (steps.check_update)
        steps.check_update(window.context());
    if (steps.show_announcement)
        steps.show_announcement(window.context());
    window.Tovin网页框1->setUrl(vendor_tools_url(configuration().hosts.vendor_info));
}

namespace {

// Restores the plain pump and message box when the program's own go away.
struct NetHooks {
    explicit NetHooks(QtEventPump& pump) {
        net::set_event_pump(&pump);
        net::set_message_box(qt_message_box());
    }
    ~NetHooks() {
        net::set_message_box({});
        net::set_event_pump(nullptr);
    }
    NetHooks(const NetHooks&) = delete;
    NetHooks& operator=(const NetHooks&) = delete;
};

}  // namespace

int run_program() {
    // Program-wide data exists, empty, before the window and outlives it.
    app::ProgramData data;
    // Which file is in use is said once, so an installed copy can be told
    // apart from a portable one.
    const std::filesystem::path file = settings_path();
    std::cerr << "korvel: settings: "
              << (file.empty() ? std::string("none found, built-in defaults") : file.string())
              << std::endl;
    apply_settings();
    // Static: an abandoned fetch worker may still call wake() after this
    // function has returned; the pump then ignores it.
    static QtEventPump pump;
    NetHooks hooks(pump);
    // A request to end arrives like the user's close, also while the start-up
    // sequence runs inside the window's constructor.
    on_termination_request([] {
        if (MainWindow* window = MainWindow::find()) {
            window->end_program(false);
        } else {
            pump.begin_shutdown();
        }
    });

    WindowOptions options;
    options.tracker = true;
    options.on_close = [] {
        pump.begin_shutdown();
        QCoreApplication::quit();
    };
    int exit_code = 0;
    {
        MainWindow window(data, std::move(options));
        if (!pump.shutting_down()) {
            window.选择夹1->setCurrentIndex(0);
            window.show();
            exit_code = QApplication::exec();
        }
        pump.finish_shutdown();
    }
    return exit_code;
}

}  // namespace app
