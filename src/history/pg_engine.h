#pragma once
// The history in a PostgreSQL database, shared by several machines: the
// same tables and rules as the SQLite file (pg_schema.cpp), each check with
// its goods rows, notices, best ranks and counts written by one statement,
// and a change counter that every write moves on (data_version).
#include <memory>
#include <string>

#include "history/engine.h"
#include "history/location.h"
#include "history/pg_owner.h"

namespace history {

class PgEngine final : public Engine {
  public:
    // Connects and brings the database to the current schema.
    static Result<std::unique_ptr<Engine>> open(const Location& location);

    Result<RecordedIds> record_check(const Check& check,
                                     const std::vector<Notice>& notices) override;
    void record_only_while_held(const std::string& board, const std::string& holder) override;
    Status for_each_check(const CheckFilter& filter,
                          const std::function<bool(const Check&)>& visit) const override;
    Result<std::int64_t> count_checks(const std::optional<std::string>& board) const override;
    Result<std::int64_t> prune_before(std::int64_t time_ms) override;
    Result<std::int64_t> count_matching(const CheckFilter& filter) const override;
    Result<std::vector<CellBest>> best_ranks(const std::string& board) const override;
    Result<std::vector<CellBest>> best_ranks_between(const std::string& board,
                                                     std::int64_t since_ms,
                                                     std::int64_t until_ms) const override;
    Result<std::vector<CellDay>> cell_days(const std::string& board, Listing listing,
                                           const std::string& key, Sort sort,
                                           std::int64_t before_day) const override;
    Result<std::int64_t> data_version() const override;

    Result<std::vector<std::string>> board_names() const override;
    Result<Board> load_board(const std::string& name) const override;
    Status save_board(const std::string& name, const std::string& definition,
                      std::int64_t now_ms) override;
    Result<bool> delete_board(const std::string& name) override;

    Result<std::int64_t> add_notice(const Notice& notice) override;
    Result<std::vector<Notice>> notices(const std::string& board,
                                        std::optional<std::int64_t> since_ms,
                                        std::optional<std::size_t> newest_limit) const override;
    Status record_delivery(const Delivery& delivery) override;
    Result<std::vector<Delivery>> deliveries(
        const std::vector<std::int64_t>& notice_ids) const override;

    Status queue_deliveries(const std::vector<std::int64_t>& notice_ids,
                            const std::string& channel) override;
    Result<bool> claim_delivery(std::int64_t notice_id, const std::string& channel,
                                const std::string& claim, std::int64_t now_ms) override;
    Result<bool> settle_delivery(const Delivery& outcome, const std::string& claim) override;
    Status release_delivery(std::int64_t notice_id, const std::string& channel,
                            const std::string& claim) override;

    Status save_pace(const PaceRecord& pace) override;
    Result<std::optional<PaceRecord>> load_pace(const std::string& host) const override;

    Result<std::int64_t> add_run(const RunRecord& run) override;
    Result<std::optional<RunRecord>> last_run(const std::string& board) const override;
    Result<std::optional<BoardLease>> board_lease(const std::string& board) const override;
    Result<std::vector<std::int64_t>> run_starts(const std::string& board,
                                                 std::int64_t since_ms) const override;

    Result<bool> integrity_ok() const override;

    Result<bool> is_empty() const override;
    Status for_each_notice(const std::function<bool(const Notice&)>& visit) const override;
    Status for_each_delivery(const std::function<bool(const Delivery&)>& visit) const override;
    Status for_each_run(const std::function<bool(const RunRecord&)>& visit) const override;
    Result<std::vector<PaceRecord>> paces() const override;
    Status import_rows(const CopyBatch& batch) override;
    Status finish_import() override;

  private:
    explicit PgEngine(pg::Connection db) : db_(std::move(db)) {}

    pg::Connection db_;
    std::string held_board_;  // with held_by_: whose lease a check of that board needs
    std::string held_by_;
};

}  // namespace history
