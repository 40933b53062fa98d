#include "app/version.h"

#include "text/codepage.h"
#include "text/fields.h"
#include "text/primitives.h"

namespace app {

VersionRecord parse_version_record(std::string_view page) {
    // GBK first: the searches step over GBK double-byte characters, which on
    // raw UTF-8 bytes can swallow the first byte of a marker.
    const std::string body = text::utf8_to_gbk(text::as_text(page));
    VersionRecord record;
    if (text::find(body, "banben", 1, true) == -1)
        return record;
    record.present = true;
    std::string start = "xiazai";
    std::string end = "banben";
    const std::string between = text::text_between(body, start, end);
    record.address = text::text_before(between, "|");
    const int last_bar = text::find_last(between, "|");
    if (last_bar != -1)
        record.version = text::right(between, text::length(between) - last_bar);
    return record;
}

bool is_other_version(const VersionRecord& record) {
    return record.present && record.version != kOwnVersion;
}

bool is_plain_version(std::string_view version) {
    constexpr std::size_t kMaxBytes = 64;
    if (version.size() > kMaxBytes)
        return false;
    if (version.find("..") != std::string_view::npos)
        return false;
    for (const char c : version) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '/' || c == '\\')
            return false;
    }
    return true;
}

std::string new_program_file_name(std::string_view version) {
    std::string name = "Korvel";
    name += version;
    name += ".exe";
    return name;
}

}  // namespace app
