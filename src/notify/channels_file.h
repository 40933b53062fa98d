#pragma once
// The notice channels of a settings file, with what the reader should be
// told about them on stderr: a channel left out and why, and once per
// process that other users can read the file that holds their secrets.
#include <filesystem>
#include <string>
#include <vector>

#include "notify/channel.h"

namespace notify {

struct LoadedChannels {
    std::vector<Channel> channels;
    std::vector<std::string> messages;  // UTF-8, no secret in any of them
};

// An empty path or a missing file defines no channel.
LoadedChannels load_channels(const std::filesystem::path& settings_file);

// The channel names (UTF-8) of a board's choice (GBK, as boards keep text).
std::vector<std::string> channel_names(const std::vector<std::string>& board_channels);

}  // namespace notify
