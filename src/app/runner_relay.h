#pragma once
// Hands a runner's events, from whichever thread they come on, to a GUI
// object's thread as queued calls of `handler`, while the relay lives: a
// call still queued when it goes is dropped. The tracker and the board
// window each hold one, so either may go before the runner.
//
//   RunnerRelay relay(runner, this, gui_side_observer);
#include <QObject>
#include <memory>

#include "service/runner.h"

namespace app {

class RunnerRelay final {
  public:
    RunnerRelay(service::Runner& runner, QObject* receiver, service::RunnerObserver& handler);
    ~RunnerRelay();
    RunnerRelay(const RunnerRelay&) = delete;
    RunnerRelay& operator=(const RunnerRelay&) = delete;

  private:
    class Forward;

    service::Runner& runner_;
    std::shared_ptr<Forward> forward_;
};

}  // namespace app
