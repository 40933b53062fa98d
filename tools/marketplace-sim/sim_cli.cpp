#include "sim_cli.h"

#include <charconv>
#include <functional>
#include <limits>
#include <map>

namespace sim {

namespace {

bool to_int(const std::string& text, int& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc{} && end == text.data() + text.size();
}

using Setter = std::function<bool(CommandLine&, const std::string&)>;

Setter int_option(int Options::*field, int minimum) {
    return [field, minimum](CommandLine& c, const std::string& v) {
        int n = 0;
        if (!to_int(v, n) || n < minimum) {
            return false;
        }
        c.options.*field = n;
        return true;
    };
}

Setter text_option(std::string Options::*field) {
    return [field](CommandLine& c, const std::string& v) {
        c.options.*field = v;
        return true;
    };
}

const std::map<std::string, Setter>& valued_options() {
    static const std::map<std::string, Setter> table = {
        {"--port", int_option(&Options::port, 0)},
        {"--seed",
         [](CommandLine& c, const std::string& v) {
             int n = 0;
             if (!to_int(v, n) || n < 0) {
                 return false;
             }
             c.options.seed = static_cast<std::uint32_t>(n);
             return true;
         }},
        {"--version", text_option(&Options::version)},
        {"--version-record",
         [](CommandLine& c, const std::string& v) {
             c.options.version_record = v;
             return true;
         }},
        {"--download-file",
         [](CommandLine& c, const std::string& v) {
             c.download_file = v;
             return !v.empty();
         }},
        {"--announcement", text_option(&Options::announcement)},
        {"--level1-count", int_option(&Options::level1_count, 0)},
        {"--fault-path", text_option(&Options::fault_path)},
        {"--delay-ms", int_option(&Options::delay_ms, 0)},
        {"--status", int_option(&Options::status, 100)},
        {"--retry-after", int_option(&Options::retry_after, 0)},
        {"--rate-limit", int_option(&Options::rate_limit, 0)},
        {"--body",
         [](CommandLine& c, const std::string& v) {
             static const std::map<std::string, BodyFault> kinds = {
                 {"normal", BodyFault::none},
                 {"empty", BodyFault::empty},
                 {"garbage", BodyFault::garbage}};
             const auto it = kinds.find(v);
             if (it == kinds.end()) {
                 return false;
             }
             c.options.body = it->second;
             return true;
         }},
        {"--short-page", int_option(&Options::short_first_page, 0)},
        {"--rank-shift", int_option(&Options::rank_shift, std::numeric_limits<int>::min())},
        {"--no-thumb", int_option(&Options::no_thumb_every, 1)},
        {"--tab-count", int_option(&Options::tab_count, 0)},
        {"--blank-level2", int_option(&Options::blank_level2_answers, -1)},
        {"--blank-level3", int_option(&Options::blank_level3_answers, -1)},
        {"--set-cookie", text_option(&Options::set_cookie)},
    };
    return table;
}

}  // namespace

std::optional<CommandLine> parse_command_line(const std::vector<std::string>& args,
                                              std::string& error) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            line.help = true;
            continue;
        }
        if (name == "--refuse") {
            line.options.refuse_connections = true;
            continue;
        }
        const auto it = valued_options().find(name);
        if (it == valued_options().end()) {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (!it->second(line, value)) {
            error = "bad value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    return line;
}

std::string usage() {
    return R"(usage: marketplace-sim [options]
Serves the marketplace and the vendor info server on 127.0.0.1.
  --port N             listen port (default 18080; 0 picks a free one)
  --seed N             catalogue seed (default 1)
  --version X          published version (default 2.0; "" publishes none)
  --version-record T   raw text between "xiazai" and "banben"
  --download-file F    serve the bytes of F as the new program file
  --announcement T     announcement text (UTF-8)
  --level1-count N     publish only the first N level-1 categories
  --tab-count N        list only the first N tabs
  --blank-level2 N     the next N level-2 lists come back empty (-1: all)
  --blank-level3 N     the next N level-3 lists come back empty (-1: all)
  --short-page N       page 1 of every listing holds N entries
  --rank-shift N       move the sample goods N places down in keyword listings
  --no-thumb N         every N-th keyword/category entry lacks its thumb key
  --set-cookie T       Set-Cookie "T" to clients without that cookie
  --fault-path P       faults below apply only to paths starting with P
  --delay-ms N         wait N ms before every answer
  --status N           answer with status N and a short error page
  --retry-after S      Retry-After: S on 429s and on --status 429 or 503
  --rate-limit N       answer at most N marketplace requests a second, 429 beyond
  --body K             normal | empty | garbage
  --refuse             refuse connections (nothing listens)
)";
}

}  // namespace sim
