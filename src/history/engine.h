#pragma once
// What a history engine does: one method for each operation of the Store
// (store.h), which checks every record before it gets here and documents
// what each operation means. SQLite keeps a history in a file;
// PostgreSQL keeps it on a server that several machines share.
//
// An engine is used from one thread at a time. Reads hand rows over in the
// orders the Store promises, whatever the engine's collation.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/check_filter.h"
#include "history/records.h"
#include "history/result.h"

namespace history {

// Rows of a whole history, as copied from one history into another: ids are
// kept, so notices still name their checks and deliveries their notices.
struct CopyBatch {
    std::vector<Board> boards;
    std::vector<Check> checks;
    std::vector<Notice> notices;
    std::vector<Delivery> deliveries;
    std::vector<RunRecord> runs;
    std::vector<PaceRecord> paces;

    std::size_t size() const {
        return boards.size() + checks.size() + notices.size() + deliveries.size() + runs.size() +
               paces.size();
    }
};

struct RecordedIds {
    std::int64_t check = 0;
    std::vector<std::int64_t> notices;  // in the order the notices were given
};

class Engine {
  public:
    virtual ~Engine() = default;

    virtual Result<RecordedIds> record_check(const Check& check,
                                             const std::vector<Notice>& notices) = 0;
    // A file's lock cannot be taken from a living holder, so a file needs no guard.
    virtual void record_only_while_held(const std::string& /*board*/,
                                        const std::string& /*holder*/) {}
    virtual Status for_each_check(const CheckFilter& filter,
                                  const std::function<bool(const Check&)>& visit) const = 0;
    virtual Result<std::int64_t> count_checks(const std::optional<std::string>& board) const = 0;
    virtual Result<std::int64_t> prune_before(std::int64_t time_ms) = 0;
    virtual Result<std::int64_t> count_matching(const CheckFilter& filter) const = 0;
    virtual Result<std::vector<CellBest>> best_ranks(const std::string& board) const = 0;
    virtual Result<std::vector<CellBest>> best_ranks_between(const std::string& board,
                                                             std::int64_t since_ms,
                                                             std::int64_t until_ms) const = 0;
    virtual Result<std::vector<CellDay>> cell_days(const std::string& board, Listing listing,
                                                   const std::string& key, Sort sort,
                                                   std::int64_t before_day) const = 0;
    virtual Result<std::int64_t> data_version() const = 0;

    virtual Result<std::vector<std::string>> board_names() const = 0;
    virtual Result<Board> load_board(const std::string& name) const = 0;
    virtual Status save_board(const std::string& name, const std::string& definition,
                              std::int64_t now_ms) = 0;
    virtual Result<bool> delete_board(const std::string& name) = 0;

    virtual Result<std::int64_t> add_notice(const Notice& notice) = 0;
    virtual Result<std::vector<Notice>> notices(const std::string& board,
                                                std::optional<std::int64_t> since_ms,
                                                std::optional<std::size_t> newest_limit) const = 0;
    virtual Status record_delivery(const Delivery& delivery) = 0;
    virtual Result<std::vector<Delivery>> deliveries(
        const std::vector<std::int64_t>& notice_ids) const = 0;

    virtual Status queue_deliveries(const std::vector<std::int64_t>& notice_ids,
                                    const std::string& channel) = 0;
    virtual Result<bool> claim_delivery(std::int64_t notice_id, const std::string& channel,
                                        const std::string& claim, std::int64_t now_ms) = 0;
    virtual Result<bool> settle_delivery(const Delivery& outcome, const std::string& claim) = 0;
    virtual Status release_delivery(std::int64_t notice_id, const std::string& channel,
                                    const std::string& claim) = 0;

    virtual Status save_pace(const PaceRecord& pace) = 0;
    virtual Result<std::optional<PaceRecord>> load_pace(const std::string& host) const = 0;

    virtual Result<std::int64_t> add_run(const RunRecord& run) = 0;
    virtual Result<std::optional<RunRecord>> last_run(const std::string& board) const = 0;
    virtual Result<std::vector<std::int64_t>> run_starts(const std::string& board,
                                                         std::int64_t since_ms) const = 0;

    // The board's lease (board_hold.h); a file keeps none.
    virtual Result<std::optional<BoardLease>> board_lease(const std::string& board) const = 0;

    virtual Result<bool> integrity_ok() const = 0;

    // Copying a whole history (copy.h). The readers go by id (deliveries by
    // notice, then channel), in constant memory; visit returns false to stop.
    virtual Result<bool> is_empty() const = 0;
    virtual Status for_each_notice(const std::function<bool(const Notice&)>& visit) const = 0;
    virtual Status for_each_delivery(const std::function<bool(const Delivery&)>& visit) const = 0;
    virtual Status for_each_run(const std::function<bool(const RunRecord&)>& visit) const = 0;
    virtual Result<std::vector<PaceRecord>> paces() const = 0;
    // One transaction per batch; rows keep their ids.
    virtual Status import_rows(const CopyBatch& batch) = 0;
    // After the last batch: what is kept beside the checks brought up to
    // date, and new ids made to follow the copied ones.
    virtual Status finish_import() = 0;
};

}  // namespace history
