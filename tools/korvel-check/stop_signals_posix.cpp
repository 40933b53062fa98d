#if !defined(_WIN32)
#include <signal.h>

#include "stop_signals.h"

namespace cli {
namespace {

volatile sig_atomic_t received = 0;
struct sigaction kept_int {};
struct sigaction kept_term {};

extern "C" void note_stop(int signal_number) {
    received = signal_number;
}

}  // namespace

// SA_RESETHAND puts the default back as the first signal arrives, so a
// second one ends the program.
StopSignals::StopSignals() {
    struct sigaction action {};
    action.sa_handler = note_stop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(SIGINT, &action, &kept_int);
    ::sigaction(SIGTERM, &action, &kept_term);
}

StopSignals::~StopSignals() {
    ::sigaction(SIGINT, &kept_int, nullptr);
    ::sigaction(SIGTERM, &kept_term, nullptr);
}

int stop_signal() {
    return received;
}

}  // namespace cli
#endif
