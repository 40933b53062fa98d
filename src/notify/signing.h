#pragma once
// The signatures the chat robots check when the group set a signing secret.
#include <cstdint>
#include <string>
#include <string_view>

namespace notify {

// HMAC-SHA256 of `data` under `key`, raw bytes.
std::string hmac_sha256(std::string_view key, std::string_view data);
std::string base64(std::string_view bytes);

// The robot of the first kind signs "timestamp\nsecret" with the secret as
// key; the answer travels URL-encoded in the query, next to the
// millisecond timestamp.
std::string dingtalk_sign(std::string_view secret, std::int64_t timestamp_ms);

// The robot of the second kind uses "timestamp\nsecret" as the KEY over an
// empty message, with the timestamp in seconds; it travels in the body.
std::string feishu_sign(std::string_view secret, std::int64_t timestamp_s);

}  // namespace notify
