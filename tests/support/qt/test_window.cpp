#include "qt/test_window.h"

#include "app/settings.h"
#include "net/event_pump.h"
#include "net/message_box.h"

namespace qt_test {

app::WindowOptions test_window_options() {
    app::WindowOptions options;
    options.run_startup = false;
    options.load_browser_pages = false;
    return options;
}

TestWindow::TestWindow(app::WindowOptions options) : window(data, std::move(options)) {}

RecordingMessageBox::RecordingMessageBox()
    : messages_(std::make_shared<std::vector<RecordedMessage>>()) {
    net::set_message_box(
        [messages = messages_](const std::string& text, int style, const std::string& caption) {
            messages->push_back({text, style, caption});
            return 0;
        });
}

RecordingMessageBox::~RecordingMessageBox() {
    net::set_message_box({});
}

ScopedHosts::ScopedHosts(const net::Hosts& hosts) {
    app::override_hosts(hosts);
}

namespace {
net::Hosts all_at(const std::string& host_port) {
    net::Hosts hosts = net::default_hosts();
    hosts.goods_page = hosts.search_api = hosts.operations_api = hosts.vendor_info = host_port;
    return hosts;
}
}  // namespace

ScopedHosts::ScopedHosts(const std::string& host_port) : ScopedHosts(all_at(host_port)) {}

ScopedHosts::~ScopedHosts() {
    app::override_hosts(std::nullopt);
}

ScopedQtEventPump::ScopedQtEventPump() {
    net::set_event_pump(&pump_);
}

ScopedQtEventPump::~ScopedQtEventPump() {
    net::set_event_pump(nullptr);
}

}  // namespace qt_test
