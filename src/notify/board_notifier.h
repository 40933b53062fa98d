#pragma once
// The notice sink that carries a board run's notices to the chat groups and
// mailboxes the board chose: one message per run and channel, the "checks
// failing" notice once when the board starts failing and "检查恢复" once when
// it reads again, never the same notice twice to a channel. Sending happens
// on the dispatcher's thread; each notice is claimed for its channel in the
// history just before it is sent, so that no other process (a second run of
// the board, another machine) sends it too, and every delivery (when, or why
// not) is kept beside its notice. What did not reach a channel (the run
// ended before sending, or the send failed once) goes with a later run of
// the board within 24 hours, marked 补发, once.
//
//   auto notifier = std::make_shared<notify::BoardNotifier>(config);
//   session.add_sink(notifier);
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "board/session.h"
#include "board/words.h"
#include "history/location.h"
#include "history/records.h"
#include "notify/channel.h"
#include "notify/delivery.h"
#include "notify/dispatcher.h"

namespace notify {

// What became of one message to one channel (UTF-8, no secret in it).
struct SendReport {
    std::string board;
    std::string channel;
    DeliveryResult result;
};

struct NotifierConfig {
    std::vector<Channel> channels;   // every channel korvel.ini defines
    history::Location history_file;  // where deliveries are kept; empty: not kept
    std::shared_ptr<Dispatcher> dispatcher;
    // Called for every message handed to a channel, and for a channel the
    // board names that is not defined; on the dispatcher's thread or the
    // session's, so a window hands it over to its own thread.
    std::function<void(const SendReport&)> on_report;
};

class BoardNotifier final : public board::NoticeSink {
  public:
    explicit BoardNotifier(NotifierConfig config);
    void deliver(const board::Board& board, const board::SessionSummary& run) override;

  private:
    NotifierConfig config_;
};

// Whether the board's checks were failing before `before_ms`: its latest
// "checks failing" or "检查恢复" notice says so.
bool was_failing(const std::vector<history::Notice>& notices, std::int64_t before_ms);

// The lines of a run's notices, each carrying its notice's id, cells named
// with the board's category and tab names.
std::vector<NoticeLine> notice_lines(const std::vector<history::Notice>& notices,
                                     const board::ListingNames& names = {});

// Sends `content` to each of the named channels that are defined: a run's
// lines, each claimed for the channel by its notice id; a text with the
// notice ids given (none: not kept), all claimed or it is not sent.
// Channel names are UTF-8.
void send_to_channels(const NotifierConfig& config, const std::string& board,
                      const std::vector<std::string>& channel_names, const Content& content,
                      const std::vector<std::int64_t>& notice_ids);

}  // namespace notify
