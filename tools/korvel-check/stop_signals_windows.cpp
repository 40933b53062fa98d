#if defined(_WIN32)
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <csignal>

#include "stop_signals.h"

namespace cli {
namespace {

std::atomic<int> received{0};

// Ctrl+C reads as SIGINT, Ctrl+Break as SIGTERM. Returning FALSE for a
// second request hands it to the default handler, which ends the program.
BOOL WINAPI note_stop(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    int none = 0;
    return received.compare_exchange_strong(none, event == CTRL_C_EVENT ? SIGINT : SIGTERM) ? TRUE
                                                                                            : FALSE;
}

}  // namespace

StopSignals::StopSignals() {
    SetConsoleCtrlHandler(note_stop, TRUE);
}

StopSignals::~StopSignals() {
    SetConsoleCtrlHandler(note_stop, FALSE);
}

int stop_signal() {
    return received.load();
}

}  // namespace cli
#endif
