#pragma once
// One worker's hold on a board of a history on a server, so that no two
// processes on any machine run the same board at once: a lease row
// (board_leases) that says who runs the board and until when, by the
// server's clock. The hold renews it while the run goes on, on a connection
// and a thread of its own, and deletes it at the end. A worker that is
// killed stops renewing; once its lease has run out the next claim takes the
// board over and records the killed run as abandoned. (A file history is
// held by a lock file instead: board::BoardLock.) A build without PostgreSQL
// has no hold to take.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "history/location.h"
#include "history/records.h"
#include "history/result.h"

namespace history {

// What a claim asks for.
struct LeaseTerms {
    std::string worker;  // this worker's name, the first part of the holder
    std::chrono::milliseconds time{std::chrono::seconds(120)};
    std::int64_t run_started_ms = 0;  // the run's start by this worker's clock
};

// "worker/pid/random": one holder per claim, so that two processes of one
// worker, or two runs of one process, never pass for each other.
std::string lease_holder(std::string_view worker);

class BoardHold {
  public:
    // Called once, on the hold's thread, when a renewal finds the lease
    // taken by another worker (this one was too slow and its lease ran out).
    using Lost = std::function<void()>;

    // One attempt, never waits: the hold, nothing when another worker holds
    // a live lease, or why the server could not be asked.
    static Result<std::optional<BoardHold>> take(const Location& server,
                                                 std::string_view board_name,
                                                 const LeaseTerms& terms = {}, Lost lost = {});

    BoardHold(BoardHold&& other) noexcept;
    BoardHold& operator=(BoardHold&& other) noexcept;
    BoardHold(const BoardHold&) = delete;
    BoardHold& operator=(const BoardHold&) = delete;
    // Stops renewing and deletes the lease (a lease the server cannot be told
    // of simply runs out).
    ~BoardHold();

    // The killed run this claim took over and recorded, if it took one over.
    const std::optional<RunRecord>& abandoned() const { return abandoned_; }
    const std::string& holder() const;

  private:
    struct Keeper;
    explicit BoardHold(std::unique_ptr<Keeper> keeper, std::optional<RunRecord> abandoned);
    std::unique_ptr<Keeper> keeper_;
    std::optional<RunRecord> abandoned_;
};

}  // namespace history
