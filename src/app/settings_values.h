#pragma once
// What the settings dialog edits, without Qt: the fields (the [hosts] and
// the board's pace of korvel.ini), their values as the readers take them
// from a file, the readers' verdict on a typed value, and the file with the
// changed values set. Texts are UTF-8.
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "net/settings_location.h"

namespace app {

struct SettingField {
    std::string_view section;
    std::string_view key;
    std::string_view label;  // what the dialog calls it
};

std::span<const SettingField> setting_fields();

// The value of every field (in setting_fields() order) that the readers take
// from `file_text`: the file's where it is good, else the default.
std::vector<std::string> setting_values(std::string_view file_text);

// Why the reader would not take `value` for the field, or empty. A value is
// judged by the very reader the programs use, so the dialog refuses exactly
// what they would ignore.
std::string setting_problem(const SettingField& field, std::string_view value);

// `file_text` with each field whose value differs between `before` and
// `after` set to its new value; everything else stays byte for byte.
std::string with_setting_values(std::string_view file_text, const std::vector<std::string>& before,
                                const std::vector<std::string>& after);

// Where the dialog writes: the file in use, unless there is none or it is the
// machine's (not the user's to change): then the user's own.
std::filesystem::path settings_target(const net::SettingsPlaces& places,
                                      const std::filesystem::path& in_use);

}  // namespace app
