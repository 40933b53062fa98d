#include "app/runner_relay.h"

#include <mutex>

namespace app {

class RunnerRelay::Forward final : public service::RunnerObserver {
  public:
    Forward(QObject* receiver, service::RunnerObserver* handler)
        : target_(std::make_shared<Target>()) {
        target_->receiver = receiver;
        target_->handler = handler;
    }

    // Called on the receiver's thread: queued calls that come after find nobody.
    void detach() {
        std::lock_guard lock(target_->mutex);
        target_->receiver = nullptr;
        target_->handler = nullptr;
    }

    void run_started(const board::Board& b, const board::CheckPlan& plan, bool scheduled) override {
        post([b, plan, scheduled](service::RunnerObserver& h) {
            h.run_started(b, plan, scheduled);
        });
    }
    void goods_confirmed(const board::Board& b,
                         const std::vector<board::ConfirmedGoods>& goods) override {
        post([b, goods](service::RunnerObserver& h) { h.goods_confirmed(b, goods); });
    }
    void check_recorded(const board::Board& b, const board::CheckReport& report,
                        const history::Check& check,
                        const std::vector<history::Notice>& notices) override {
        post([b, report, check, notices](service::RunnerObserver& h) {
            h.check_recorded(b, report, check, notices);
        });
    }
    void run_ended(const board::Board& b, const board::SessionSummary& run) override {
        post([b, run](service::RunnerObserver& h) { h.run_ended(b, run); });
    }
    void start_skipped(const std::string& board_utf8, const std::string& why) override {
        post([board_utf8, why](service::RunnerObserver& h) { h.start_skipped(board_utf8, why); });
    }
    void report_sent(const board::Board& b, const std::string& text) override {
        post([b, text](service::RunnerObserver& h) { h.report_sent(b, text); });
    }
    void send_reported(const notify::SendReport& report) override {
        post([report](service::RunnerObserver& h) { h.send_reported(report); });
    }

  private:
    struct Target {
        std::mutex mutex;
        QObject* receiver = nullptr;
        service::RunnerObserver* handler = nullptr;  // read and cleared on the receiver's thread
    };

    template <typename F>
    void post(F f) {
        std::lock_guard lock(target_->mutex);
        if (target_->receiver == nullptr)
            return;
        QMetaObject::invokeMethod(
            target_->receiver,
            [target = target_, f = std::move(f)] {
                if (target->handler != nullptr)
                    f(*target->handler);
            },
            Qt::QueuedConnection);
    }

    std::shared_ptr<Target> target_;
};

RunnerRelay::RunnerRelay(service::Runner& runner, QObject* receiver,
                         service::RunnerObserver& handler)
    : runner_(runner), forward_(std::make_shared<Forward>(receiver, &handler)) {
    runner_.add_observer(forward_);
}

RunnerRelay::~RunnerRelay() {
    forward_->detach();
    runner_.remove_observer(forward_.get());
}

}  // namespace app
