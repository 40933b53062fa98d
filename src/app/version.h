#pragma once
// The program's own version and the vendor's version record: which version is
// published, where to download it, and whether it is ours or a new one.
#include <string>
#include <string_view>

namespace app {

// The version this program is; compared byte for byte with the published one.
inline constexpr std::string_view kOwnVersion = "2.0";

struct VersionRecord {
    bool present = false;  // the page carries "banben" at all
    std::string address;   // download address: the record before its first "|"
    std::string version;   // the record after its last "|"
};

// Reads the record "xiazai" address "|" version "banben" out of the vendor
// page (UTF-8; markers in any letter case). Address and version are GBK;
// without a "|" both are empty.
VersionRecord parse_version_record(std::string_view page);

// Any published version other than our own, older or empty ones included.
bool is_other_version(const VersionRecord& record);

// The version becomes part of a file name in the program directory; only a
// plain name component (no separator, no "..", no control byte, at most 64
// bytes) may be used that way. The empty version is plain.
bool is_plain_version(std::string_view version);

// "Korvel" + version + ".exe".
std::string new_program_file_name(std::string_view version);

}  // namespace app
