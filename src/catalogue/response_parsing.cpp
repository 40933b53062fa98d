#include "catalogue/response_parsing.h"

#include "catalogue/category_line.h"
#include "pattern/regex_object.h"
#include "text/codepage.h"
#include "text/fields.h"
#include "text/lines.h"
#include "text/primitives.h"

namespace catalogue {

namespace {

// One category line per match of `pattern` in `subject`, the name taken from
// capture group `name_group` and the id from `id_group`.
std::string lines_from_matches(std::string_view pattern, std::string_view subject, int name_group,
                               int id_group) {
    pattern::RegexObject regex;
    regex.create(pattern, subject);
    std::string lines;
    const int count = regex.match_count();
    for (int i = 1; i <= count; ++i) {
        lines += category_line(regex.submatch(i, name_group), regex.submatch(i, id_group));
    }
    return lines;
}

}  // namespace

std::string level1_buffer_from_page(std::string_view body) {
    std::string start = "yiji";
    std::string end = "mulu";
    const std::string segment =
        text::utf8_to_gbk(text::text_between(text::as_text(body), start, end));
    return text::multi_replace(segment, {{"----", "\r\n"}, {"&mdash;", category_separator()}});
}

std::string group_lines_from_response(std::string_view body) {
    std::string start = "opt_infos";
    std::string end = "debugInfo";
    const std::string entries =
        text::url_decode_to_gbk(text::text_between(text::as_text(body), start, end));
    // Groups: 1 = category id, 2 = priority (not used), 3 = category name.
    return lines_from_matches(R"re("id":(.*?),"priority":(.*?),"opt_name":"(.*?)")re", entries, 3,
                              1);
}

std::string tab_lines_from_response(std::string_view body) {
    const std::string decoded = text::url_decode_to_gbk(text::as_text(body));
    // Groups: 1 = tab id, 2 = tab name.
    return lines_from_matches(R"re(tab_id":(.*?),"tab":"(.*?)","subjec)re", decoded, 2, 1);
}

}  // namespace catalogue
