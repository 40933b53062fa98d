#include "app/self_update_download.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>
#include <utility>

#include "net/event_pump.h"
#include "net/file_download.h"

namespace app {

namespace {

constexpr int kBarMaximum = 1000;

std::int32_t as_int32(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// The bar lives on the window's thread: the worker only posts positions to it.
void post_position(const QPointer<QProgressBar>& bar, int position) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return;
    QMetaObject::invokeMethod(
        application,
        [bar, position] {
            if (bar)
                bar->setValue(position);
        },
        Qt::QueuedConnection);
}

// Runs on the download's worker thread; only a changed position is posted.
net::DownloadProgress bar_follower(QProgressBar* bar) {
    return [bar = QPointer<QProgressBar>(bar), last_position = -1](std::int64_t received,
                                                                   std::int64_t total) mutable {
        const auto position = progress_position(as_int32(received), as_int32(total));
        if (position && *position != last_position) {
            last_position = *position;
            post_position(bar, *position);
        }
    };
}

}  // namespace

std::optional<int> progress_position(std::int32_t progress, std::int32_t maximum) {
    if (maximum == 0)
        return std::nullopt;
    return static_cast<int>(static_cast<double>(progress) * kBarMaximum /
                            static_cast<double>(maximum));
}

bool download_with_progress(const std::string& address, const std::filesystem::path& target,
                            QProgressBar* bar) {
    net::DownloadProgress follow;
    if (bar != nullptr) {
        bar->setRange(0, kBarMaximum);
        bar->setValue(0);
        follow = bar_follower(bar);
    }
    const net::DownloadOutcome outcome = net::download_file(address, target, std::move(follow));
    if (outcome != net::DownloadOutcome::complete)
        return false;
    net::event_pump().dispatch_pending();  // the last progress the worker posted reaches the bar
    return true;
}

}  // namespace app
