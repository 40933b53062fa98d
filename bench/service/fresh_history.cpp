#include "fresh_history.h"

#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

// `word` between single quotes for sh, quotes inside it escaped.
std::string shell_quoted(const std::string& word) {
    std::string out = "'";
    for (const char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string server_script(const std::string& action, const std::string& dir) {
    return shell_quoted(KORVEL_PG_SERVER_SCRIPT) + " " + action + " " + shell_quoted(dir);
}

}  // namespace

FreshHistory::FreshHistory(const std::filesystem::path& file) : location_(file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

FreshHistory::FreshHistory(const std::string& url, const std::string& schema) : schema_(schema) {
    const history::Location server(url);
    auto admin = history::pg::connect(server);
    if (!admin) {
        problem_ = admin.error().message;
        return;
    }
    const std::string create = "CREATE SCHEMA " + schema;
    if (auto made = history::pg::exec(admin.value(), create.c_str()); !made) {
        problem_ = made.error().message;
        return;
    }
    admin_.emplace(std::move(admin.value()));
    // Every connection of the store (the workers', their board holds', ours)
    // finds its tables in the schema.
    location_ = history::Location(url + (url.find('?') == std::string::npos ? "?" : "&") +
                                  "options=-csearch_path%3D" + schema);
}

FreshHistory::~FreshHistory() {
    if (admin_) {
        const std::string drop = "DROP SCHEMA " + schema_ + " CASCADE";
        (void)history::pg::exec(*admin_, drop.c_str());
    } else if (!location_.empty() && !location_.is_server()) {
        std::error_code ignored;
        for (const char* end : {"", "-wal", "-shm"})
            std::filesystem::remove(location_.file().string() + end, ignored);
    }
}

ThrowAwayServer::ThrowAwayServer() {
    std::string dir = "/tmp/korvel-pg.XXXXXX";
    if (mkdtemp(dir.data()) == nullptr)
        return;
    dir_ = dir;
    FILE* out = popen(server_script("start", dir_).c_str(), "r");
    if (out == nullptr)
        return;
    char line[4096];
    std::string said;
    while (std::fgets(line, sizeof line, out) != nullptr)
        said += line;
    if (pclose(out) != 0)
        return;
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r'))
        said.pop_back();
    url_ = said;
}

ThrowAwayServer::~ThrowAwayServer() {
    if (!dir_.empty())
        (void)std::system(server_script("stop", dir_).c_str());
}

}  // namespace bench
