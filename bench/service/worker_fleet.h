#pragma once
// N `korvel-check --serve` workers as if each ran on a machine of its own:
// its own korvel.ini (its own XDG_CONFIG_HOME) whose hosts are its own
// simulator, which limits its request rate as the marketplace limits one
// address.
#include <memory>
#include <string>
#include <vector>

#include "history/location.h"
#include "plain/temp_dir.h"

namespace bench {

struct FleetSettings {
    int workers = 1;
    int rate_limit = 0;         // answers a second each simulator gives; 0: no limit
    std::string board_section;  // korvel.ini's [board] section, header included
};

class WorkerFleet {
  public:
    explicit WorkerFleet(const FleetSettings& settings);
    ~WorkerFleet();  // kills whatever still runs
    WorkerFleet(const WorkerFleet&) = delete;
    WorkerFleet& operator=(const WorkerFleet&) = delete;

    // Starts every worker on the history at `history`; false when a
    // simulator or a worker could not be started.
    bool start(const history::Location& history);
    // Asks every worker to end (SIGTERM); their exit codes, -1 for one that
    // did not end in time.
    std::vector<int> stop();

    // Summed over the simulators.
    int listing_pages() const;
    int rate_limited() const;
    // What worker `i` wrote on stderr.
    std::string said(std::size_t i) const;

  private:
    struct Worker;
    test::TempDir dir_;
    std::vector<std::unique_ptr<Worker>> workers_;
};

}  // namespace bench
