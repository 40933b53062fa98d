#include "ranking/window_guard.h"

#include <QCoreApplication>

#include "net/event_pump.h"

namespace ranking {

bool WindowGuard::alive() const {
    return !window_.isNull() && !net::event_pump().closing() && !QCoreApplication::closingDown();
}

}  // namespace ranking
