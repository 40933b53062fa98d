#pragma once
// The fetch workers still running, abandoned ones included. When the process
// ends they are told to stop and given a moment to leave libcurl, so none is
// inside a transfer while the TLS library is torn down.
#include <chrono>

#include "net/abort_signal.h"

namespace net {

struct WorkerJob {
    AbortSignal abort;
};

void register_worker(WorkerJob* job);
void unregister_worker(WorkerJob* job);
// Aborts every running worker and waits up to `grace` for them to finish.
void stop_workers(std::chrono::milliseconds grace);

// Called before the first worker starts: sets up libcurl and arranges for
// stop_workers at process exit (after libcurl's own set-up, so it runs before
// the TLS library's exit handler).
void prepare_workers();

}  // namespace net
