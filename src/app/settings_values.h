#pragma once
// What the settings dialog edits, without Qt: the fields (the [hosts], the
// board's pace and the history's place of korvel.ini) with their Chinese names and
// explanations, their values as the readers take them from a file, the
// readers' verdict on a typed value in Chinese, and the file with the changed
// values set. Texts are UTF-8.
#include <filesystem>
#include <optional>
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
    std::string_view help;   // what it does, for a seller
    bool common = false;     // shown under 常用; the rest under 高级
};

std::span<const SettingField> setting_fields();

// The field's explanation with its default and the values it takes:
// "…。默认 3，可填 1–16 的整数。"
std::string setting_help(const SettingField& field);

// The value of every field (in setting_fields() order) that the readers take
// from `file_text`: the file's where it is good, else the default.
std::vector<std::string> setting_values(std::string_view file_text);

// Why the reader would not take `value` for the field (Chinese), or empty.
// Whether a value is taken is decided by the very reader the programs use,
// so the dialog refuses exactly what they would ignore.
std::string setting_problem(const SettingField& field, std::string_view value);

struct SettingProblem {
    std::size_t field = 0;  // index into setting_fields()
    std::string text;       // "每个主机同时请求数：0 超出范围 1–16"
};

// Every field whose value (in setting_fields() order) the reader would not
// take, in that order.
std::vector<SettingProblem> setting_problems(const std::vector<std::string>& values);

// `file_text` with each field whose value differs between `before` and
// `after` set to its new value; everything else stays byte for byte.
std::string with_setting_values(std::string_view file_text, const std::vector<std::string>& before,
                                const std::vector<std::string>& after);

// Where the dialog writes: the file in use, unless there is none or it is the
// machine's (not the user's to change): then the user's own.
std::filesystem::path settings_target(const net::SettingsPlaces& places,
                                      const std::filesystem::path& in_use);

}  // namespace app
