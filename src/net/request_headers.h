#pragma once
// The request header text of both HTTP routines: the default lines each one
// adds to the caller's text, the user agent, and the lines handed to libcurl.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

const std::string& default_accept_line();    // "Accept: image/gif, ... */*" CR LF
const std::string& default_language_line();  // "Accept-Language: zh-cn" CR LF
const std::string& default_fetch_agent();    // fetch_page without a User-Agent line
const std::string& goods_page_agent();       // 网页_访问, always

struct HeaderContext {
    std::string_view url;  // the normalised URL (for the Referer line)
    bool post = false;
    std::string_view post_data;  // its length goes on the Content-Length line
    std::string_view cookie;     // sent on a "Cookie: " line when not empty
};

// fetch_page: the caller's text plus Accept, Referer (or the "RefererNo"
// marker removed), Accept-Language, the POST content lines where absent and
// the cookie line. Containment tests ignore letter case.
std::string complete_fetch_headers(std::string headers, const HeaderContext& context);

// 网页_访问: the tests look for "Accept: ", "Referer: ", "Accept-Language: "
// with colon and space, and the POST content lines are always appended.
std::string complete_goods_headers(std::string headers, const HeaderContext& context);

// The agent named by a "User-Agent:" line of the header text (letter case
// ignored, up to the next CR LF, spaces trimmed), or nothing without one.
std::optional<std::string> agent_from_headers(std::string_view headers);

// The header text as single lines: split at every line end, blank lines
// dropped. The cookie step ends its line with an extra CR LF, which must not
// end the header block early or go out as an empty header line.
std::vector<std::string> header_lines(std::string_view headers);

}  // namespace net
