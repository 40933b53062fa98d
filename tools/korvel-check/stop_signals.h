#pragma once
// A run that is asked to end (Ctrl+C, SIGTERM from systemd or kill) stops
// like 停止 in the window: what it read stays recorded and printed, its
// lock is freed, and the program ends with a code that says why. While a
// StopSignals lives those requests are only noted; a second one ends the
// program at once, for a run that does not stop.
namespace cli {

class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
};

// SIGINT or SIGTERM once one has come while a StopSignals lived; else 0.
int stop_signal();

// 128 + the signal, as a shell reports a program the signal ended:
// kExitInterrupted for SIGINT (Ctrl+C), kExitTerminated for SIGTERM.
inline int stopped_exit_code(int signal) {
    return 128 + signal;
}

}  // namespace cli
