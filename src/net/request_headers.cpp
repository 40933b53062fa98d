#include "net/request_headers.h"

#include "text/fields.h"
#include "text/primitives.h"

namespace net {

const std::string& default_accept_line() {
    static const std::string line =
        "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
        "application/x-shockwave-flash, application/vnd.ms-excel, "
        "application/vnd.ms-powerpoint, application/msword, */*\r\n";
    return line;
}

const std::string& default_language_line() {
    static const std::string line = "Accept-Language: zh-cn\r\n";
    return line;
}

const std::string& default_fetch_agent() {
    static const std::string agent =
        "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; "
        ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";
    return agent;
}

const std::string& goods_page_agent() {
    static const std::string agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
    return agent;
}

namespace {

bool contains(std::string_view haystack, std::string_view needle) {
    return text::find(haystack, needle, 1, true) > 0;
}

const std::string& content_type_line() {
    static const std::string line = "Content-Type: application/x-www-form-urlencoded\r\n";
    return line;
}

std::string content_length_line(std::string_view post_data) {
    return "Content-Length: " + text::decimal_text(static_cast<long long>(post_data.size())) +
           "\r\n";
}

void append_cookie_line(std::string& headers, std::string_view cookie) {
    if (!cookie.empty()) {
        headers.append("Cookie: ").append(cookie).append("\r\n\r\n");
    }
}

}  // namespace

std::string complete_fetch_headers(std::string headers, const HeaderContext& context) {
    if (!contains(headers, "Accept")) {
        headers += default_accept_line();
    }
    if (contains(headers, "RefererNo")) {
        headers = text::replace_substring(headers, "RefererNo", "", 1, 1, true);
    } else if (!contains(headers, "Referer")) {
        headers.append("Referer: ").append(context.url).append("\r\n");
    }
    if (!contains(headers, "Accept-Language")) {
        headers += default_language_line();
    }
    if (context.post && !context.post_data.empty()) {
        if (!contains(headers, "Content-Type")) {
            headers += content_type_line();
        }
        if (!contains(headers, "Content-Length")) {
            headers += content_length_line(context.post_data);
        }
    }
    append_cookie_line(headers, context.cookie);
    return headers;
}

std::string complete_goods_headers(std::string headers, const HeaderContext& context) {
    if (!contains(headers, "Accept: ")) {
        headers += default_accept_line();
    }
    if (!contains(headers, "Referer: ")) {
        headers.append("Referer: ").append(context.url).append("\r\n");
    }
    if (!contains(headers, "Accept-Language: ")) {
        headers += default_language_line();
    }
    if (context.post && !context.post_data.empty()) {
        headers += content_type_line();
        headers += content_length_line(context.post_data);
    }
    append_cookie_line(headers, context.cookie);
    return headers;
}

std::optional<std::string> agent_from_headers(std::string_view headers) {
    if (!contains(headers, "User-Agent:")) {
        return std::nullopt;
    }
    std::string start = "User-Agent:";
    std::string end = "\r\n";
    return text::trim(text::text_between(headers, start, end));
}

std::vector<std::string> header_lines(std::string_view headers) {
    std::vector<std::string> lines;
    const std::string_view all = text::as_text(headers);
    std::size_t begin = 0;
    while (begin < all.size()) {
        std::size_t end = all.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            end = all.size();
        }
        const std::string_view line = all.substr(begin, end - begin);
        if (!text::trim(line).empty()) {
            lines.emplace_back(line);
        }
        begin = end + 1;
    }
    return lines;
}

}  // namespace net
