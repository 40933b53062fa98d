#include "net/live_workers.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "net/curl_handles.h"

namespace net {

namespace {

constexpr std::chrono::milliseconds kExitGrace{500};

struct WorkerList {
    std::mutex mutex;
    std::condition_variable emptied;
    std::vector<WorkerJob*> jobs;
};

// Never destroyed: workers may still report in while the process ends.
WorkerList& workers() {
    static WorkerList* const list = new WorkerList;
    return *list;
}

}  // namespace

void register_worker(WorkerJob* job) {
    std::lock_guard lock(workers().mutex);
    workers().jobs.push_back(job);
}

void unregister_worker(WorkerJob* job) {
    WorkerList& list = workers();
    {
        std::lock_guard lock(list.mutex);
        list.jobs.erase(std::remove(list.jobs.begin(), list.jobs.end(), job), list.jobs.end());
    }
    list.emptied.notify_all();
}

void stop_workers(std::chrono::milliseconds grace) {
    WorkerList& list = workers();
    std::unique_lock lock(list.mutex);
    for (WorkerJob* job : list.jobs) {
        job->abort.abort();
    }
    list.emptied.wait_for(lock, grace, [&list] { return list.jobs.empty(); });
}

void prepare_workers() {
    static std::once_flag once;
    std::call_once(once, [] {
        ensure_curl_ready();
        workers();
        std::atexit([] { stop_workers(kExitGrace); });
    });
}

}  // namespace net
