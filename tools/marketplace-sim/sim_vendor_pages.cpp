// The vendor info server's pages and the fault bodies.
#include "sim_pages.h"
#include "sim_random.h"

namespace sim::pages {

namespace {
std::string html(std::string_view title, std::string_view body) {
    return "<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>" + std::string(title) +
           "</title></head>\r\n<body>\r\n" + std::string(body) + "\r\n</body></html>\r\n";
}
}  // namespace

std::string default_announcement() {
    return "欢迎使用Korvel！本地模拟市场已启动，&nbsp;输入商品ID和关键词后点击“查询”即可查看排名。"
           "\r\n所有商品与排名均为模拟数据，仅供体验。(marketplace-sim)";
}

std::string category_names(const Catalogue& catalogue, const Options& options) {
    std::string list;
    int n = 0;
    for (const auto& c : catalogue.level1()) {
        if (options.level1_count >= 0 && n >= options.level1_count) {
            break;
        }
        if (n++ > 0) {
            list += "----";
        }
        list += c.name + "&mdash;" + c.id;
    }
    return html("一级类目", "<p>yiji" + list + "mulu</p>");
}

std::string download_address(const Options& options, std::string_view host) {
    return "http://" + std::string(host) + "/download/Korvel" + options.version;
}

std::string announcement_and_version(const Options& options, std::string_view host) {
    const std::string text =
        options.announcement.empty() ? default_announcement() : options.announcement;
    std::string body = "<div class=\"notice\">gonggao[" + text + "]jiesu</div>";
    if (options.version_record) {
        body += "\r\n<div class=\"update\">xiazai" + *options.version_record + "banben</div>";
    } else if (!options.version.empty()) {
        body += "\r\n<div class=\"update\">xiazai" + download_address(options, host) + "|" +
                options.version + "banben</div>";
    }
    return html("公告", body);
}

std::string download_body(const Options& options) {
    if (!options.download_body.empty()) {
        return options.download_body;
    }
    // Stands in for the new program file: when started it leaves a marker
    // beside itself, so a test can tell that the update started it.
    return "#!/bin/sh\n"
           "echo \"Korvel " +
           options.version + " started\" > \"$(dirname \"$0\")/" +
           std::string(kDownloadMarkerFile) + "\"\n";
}

std::string more_tools() {
    return html("更多工具",
                "<h3>更多工具</h3>\r\n<ul>\r\n<li>关键词排名查询</li>\r\n<li>类目排名查询</li>\r\n"
                "<li>爱逛街排名查询</li>\r\n<li>新品排名查询</li>\r\n</ul>\r\n"
                "<p>更多实用工具正在开发中，敬请期待。</p>\r\n<p><a href=\"/\">返回首页</a></p>");
}

std::string home() {
    return html("Korvel 官方网站",
                "<h2>Korvel 排名查询助手</h2>\r\n<p>帮助商家查询商品在搜索、类目、爱逛街和新品列表"
                "中的排名。</p>\r\n<p><a href=\"/1.html\">更多工具</a></p>");
}

std::string error_page(int status) {
    return html("错误 " + std::to_string(status),
                "<h1>" + std::to_string(status) + "</h1><p>服务器暂时无法处理请求。</p>");
}

std::string garbage(std::uint32_t seed) {
    Random rng(mix64(seed) ^ 0x6A7BULL);
    std::string out;
    out.reserve(4096);
    while (out.size() < 4096) {
        auto c = static_cast<unsigned char>(rng.next() & 0xFF);
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter) {
            out += static_cast<char>(c);
        }
    }
    out[100] = '\0';  // a NUL early on: a text view of the body ends there
    return out;
}

}  // namespace sim::pages
