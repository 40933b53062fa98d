#include "history/copy.h"

#include "history/engine.h"

namespace history {
namespace {

// Gathers rows into batches of the target; the first failure ends the copy.
class Copier {
  public:
    Copier(Engine& to, std::size_t batch_size,
           const std::function<void(const CopyProgress&)>& progress)
        : to_(to), batch_size_(batch_size == 0 ? 1 : batch_size), progress_(progress) {}

    // Adds one row with `put`; false once a batch could not be written.
    template <class Put>
    bool add(Put put) {
        put(batch_);
        ++done_;
        return batch_.size() < batch_size_ || flush();
    }

    bool flush() {
        if (batch_.size() == 0) {
            return true;
        }
        if (auto kept = to_.import_rows(batch_); !kept) {
            failure_ = kept;
            return false;
        }
        batch_ = {};
        if (progress_) {
            progress_(CopyProgress{what_, done_, total_});
        }
        return true;
    }

    void start(std::string_view what, std::int64_t total) {
        what_ = what;
        done_ = 0;
        total_ = total;
    }

    // The copy's outcome: the reader's own error, else the writer's.
    Status finish_part(const Status& read) {
        if (!failure_) {
            return failure_;
        }
        if (!read) {
            return read;
        }
        return flush() ? Status{} : failure_;
    }

  private:
    Engine& to_;
    std::size_t batch_size_;
    const std::function<void(const CopyProgress&)>& progress_;
    CopyBatch batch_;
    Status failure_;
    std::string_view what_;
    std::int64_t done_ = 0;
    std::int64_t total_ = 0;
};

Status copy_boards(const Store& from, Copier& copier) {
    auto names = from.board_names();
    if (!names) {
        return names.error();
    }
    copier.start("boards", static_cast<std::int64_t>(names.value().size()));
    for (const auto& name : names.value()) {
        auto board = from.load_board(name);
        if (!board) {
            return board.error();
        }
        if (!copier.add([&](CopyBatch& b) { b.boards.push_back(board.value()); })) {
            break;
        }
    }
    return copier.finish_part({});
}

Status copy_paces(const Engine& from, Copier& copier) {
    auto paces = from.paces();
    if (!paces) {
        return paces.error();
    }
    copier.start("paces", static_cast<std::int64_t>(paces.value().size()));
    for (const auto& pace : paces.value()) {
        if (!copier.add([&](CopyBatch& b) { b.paces.push_back(pace); })) {
            break;
        }
    }
    return copier.finish_part({});
}

Status copy_streams(const Store& from, const Engine& engine, Copier& copier) {
    copier.start("runs", 0);
    auto runs = engine.for_each_run(
        [&](const RunRecord& r) { return copier.add([&](CopyBatch& b) { b.runs.push_back(r); }); });
    if (auto done = copier.finish_part(runs); !done) {
        return done;
    }
    auto total = from.count_checks();
    if (!total) {
        return total.error();
    }
    copier.start("checks", total.value());
    auto checks = engine.for_each_check({}, [&](const Check& c) {
        return copier.add([&](CopyBatch& b) { b.checks.push_back(c); });
    });
    if (auto done = copier.finish_part(checks); !done) {
        return done;
    }
    copier.start("notices", 0);
    auto notices = engine.for_each_notice(
        [&](const Notice& n) { return copier.add([&](CopyBatch& b) { b.notices.push_back(n); }); });
    if (auto done = copier.finish_part(notices); !done) {
        return done;
    }
    copier.start("deliveries", 0);
    auto deliveries = engine.for_each_delivery([&](const Delivery& d) {
        return copier.add([&](CopyBatch& b) { b.deliveries.push_back(d); });
    });
    return copier.finish_part(deliveries);
}

Status compare_counts(const Store& from, const Store& to) {
    auto expected = from.count_checks();
    auto copied = to.count_checks();
    if (!expected || !copied) {
        return expected ? copied.error() : expected.error();
    }
    if (expected.value() != copied.value()) {
        return Error{ErrorCode::storage, "the copy in " + to.path() + " holds " +
                                             std::to_string(copied.value()) + " of the " +
                                             std::to_string(expected.value()) + " checks"};
    }
    return {};
}

}  // namespace

Status copy_history(const Store& from, Store& to, std::size_t batch_size,
                    const std::function<void(const CopyProgress&)>& progress) {
    auto empty = to.engine_->is_empty();
    if (!empty) {
        return empty.error();
    }
    if (!empty.value()) {
        return Error{ErrorCode::invalid_record, "the history " + to.path() +
                                                    " is not empty; a copy goes only into an "
                                                    "empty history"};
    }
    Copier copier(*to.engine_, batch_size, progress);
    Status copied = copy_boards(from, copier);
    if (copied) {
        copied = copy_paces(*from.engine_, copier);
    }
    if (copied) {
        copied = copy_streams(from, *from.engine_, copier);
    }
    if (!copied) {
        return Error{copied.error().code, copied.error().message + " (the copy in " + to.path() +
                                              " is incomplete: empty it before copying again)"};
    }
    if (auto finished = to.engine_->finish_import(); !finished) {
        return finished;
    }
    return compare_counts(from, to);
}

}  // namespace history
