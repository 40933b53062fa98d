// --copy-history FROM TO: a whole history (a file or a server) copied into an
// empty one, in batches, with its progress on stderr.
#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>

#include "commands.h"
#include "exit_codes.h"
#include "history/copy.h"

namespace cli {

namespace {

constexpr std::size_t kRowsPerBatch = 2000;
constexpr auto kProgressEvery = std::chrono::seconds(1);

// At most a line a second on stderr, and each part's last.
class CopyReport {
  public:
    void progress(const history::CopyProgress& step) {
        const auto now = std::chrono::steady_clock::now();
        if (step.what != part_ && !part_.empty())
            print(part_, done_[part_], total_);
        part_ = std::string(step.what);
        done_[part_] = step.done;
        total_ = step.total;
        if (now - shown_ >= kProgressEvery) {
            print(part_, step.done, step.total);
            shown_ = now;
        }
    }

    void finish() {
        if (!part_.empty())
            print(part_, done_[part_], total_);
    }

    std::string summary() const {
        std::string text;
        for (const char* part : {"boards", "checks", "notices", "deliveries", "runs", "paces"}) {
            const auto found = done_.find(part);
            text += (text.empty() ? "" : ", ") +
                    std::to_string(found == done_.end() ? 0 : found->second) + " " + part;
        }
        return text;
    }

  private:
    void print(const std::string& part, std::int64_t done, std::int64_t total) {
        if (part == printed_part_ && done == printed_done_)
            return;
        printed_part_ = part;
        printed_done_ = done;
        std::cerr << kProgramName << ": copied " << done;
        if (total > 0)
            std::cerr << " of " << total;
        std::cerr << " " << part << std::endl;
    }

    std::string part_;
    std::map<std::string, std::int64_t, std::less<>> done_;
    std::int64_t total_ = 0;
    std::chrono::steady_clock::time_point shown_{};
    std::string printed_part_;
    std::int64_t printed_done_ = -1;
};

}  // namespace

int run_copy_history(const CheckOptions& options) {
    const history::Location from(options.copy_history.at(0));
    const history::Location to(options.copy_history.at(1));
    // Opening a file that is not there would make an empty history of it.
    if (!from.is_server() && !std::filesystem::exists(from.file()))
        return failure("there is no history file " + from.shown());
    auto source = history::Store::open(from);
    if (!source)
        return failure(source.error().message);
    auto target = history::Store::open(to);
    if (!target)
        return failure(target.error().message);
    CopyReport report;
    const auto copied =
        history::copy_history(source.value(), target.value(), kRowsPerBatch,
                              [&](const history::CopyProgress& step) { report.progress(step); });
    report.finish();
    if (!copied)
        return failure(copied.error().message);
    std::cout << "copied " << report.summary() << " into " << target.value().path() << std::endl;
    return kExitAllRead;
}

}  // namespace cli
