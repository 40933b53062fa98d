#pragma once
// How the settings dialogs (设置, 通知通道) write korvel.ini, without Qt.
// Each edits the text on the disk at the moment it saves, not the text it
// opened with, so one dialog's save never undoes another's. The file is
// replaced atomically, and only its owner may read it once it defines
// notice channels (their addresses, secrets and passwords) or a history
// address with a password.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// The text to edit: the file written (`target`) when it exists, else the
// file in use, else nothing; nullopt when the file to edit cannot be read.
std::optional<std::string> settings_text_to_edit(const std::filesystem::path& in_use,
                                                 const std::filesystem::path& target);

// Writes `text` to `target`; empty, else why not (Chinese, UTF-8).
std::string save_settings_text(const std::filesystem::path& target, std::string_view text);

}  // namespace app
