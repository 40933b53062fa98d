#pragma once
// What goes to a chat robot or a JSON receiver, and how its answer reads.
//
// The JSON shape of our own ("json" channels):
//   a board run:  {"board": "...", "time": "2024-05-01T08:30:00.000Z", "time_ms": 1714552200000,
//                  "notices": [{"cell", "before", "after", "kind", "message"}, ...]}
//                 with every notice of the run (no cut);
//   a text:       {"time": "...", "time_ms": ..., "text": "..."}.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "notify/channel.h"
#include "notify/message.h"

namespace notify {

struct WebhookRequest {
    std::string url;   // with the signature's query for a signed dingtalk robot: a secret
    std::string body;  // JSON, UTF-8
};

// The robots cut longer texts off or refuse them; these are their limits in
// bytes of UTF-8 text: the group robot 2048 (text) and 4096 (markdown), the
// custom robot 20000, the custom bot 18000 (its whole request may hold 20
// KB). Messages are cut by whole lines to fit; e-mail and the JSON receiver
// have no limit (kNoLimit).
std::size_t text_limit(ChannelKind kind);

// `text` cut to at most `max_bytes` at a character boundary, "…" marking the cut.
std::string cut_utf8(std::string_view text, std::size_t max_bytes);

WebhookRequest webhook_request(const Channel& channel, const Content& content, std::int64_t now_ms,
                               int utc_offset_minutes);

// Why an answer is no delivery, or nothing when it is one: a status other
// than 2xx, or for a robot a nonzero errcode / code / StatusCode in its JSON
// (with the robot's own message, whole: it may echo the address, so the
// caller masks it before cutting it short).
std::optional<std::string> answer_problem(ChannelKind kind, int status, std::string_view body);

}  // namespace notify
