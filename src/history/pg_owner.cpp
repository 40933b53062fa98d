#include "history/pg_owner.h"

#include <libpq-fe.h>

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <utility>

#include "history/pg_address.h"

namespace history::pg {
namespace {

constexpr int kTriesOfAConflict = 4;

std::string trimmed(const char* text) {
    std::string out = text != nullptr ? text : "";
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) {
        out.pop_back();
    }
    return out;
}

std::string_view sqlstate_of(const PGresult* result) {
    const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return state != nullptr ? state : "";
}

ErrorCode code_of(std::string_view state) {
    if (state.starts_with("08") || state.starts_with("28") || state == "3D000") {
        return ErrorCode::cannot_open;
    }
    if (state == "40P01" || state == "40001" || state == "55P03" || state == "57014") {
        return ErrorCode::busy;
    }
    if (state == "22021") {  // text that is not UTF-8
        return ErrorCode::invalid_record;
    }
    return ErrorCode::storage;
}

Error error_of(const Connection& db, const PGresult* result, std::string_view doing) {
    const std::string detail =
        trimmed(result != nullptr ? PQresultErrorMessage(result) : PQerrorMessage(db.get()));
    const std::string_view state = sqlstate_of(result);
    // A broken connection leaves no state; it is the server that cannot be reached.
    const ErrorCode code = state.empty() && PQstatus(db.get()) == CONNECTION_BAD
                               ? ErrorCode::cannot_open
                               : code_of(state);
    return Error{code, db.location().masked(std::string(doing) + ": " + detail)};
}

bool succeeded(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

bool is_conflict(std::string_view state) {
    return state == "40P01" || state == "40001";
}

void ignore_notice(void*, const char*) {}

struct ParsedAddress {
    std::string hosts;
    std::string hostaddrs;
    bool sslmode_given = false;
};

Result<ParsedAddress> parse_address(const Location& location) {
    char* problem = nullptr;
    PQconninfoOption* options = PQconninfoParse(location.text().c_str(), &problem);
    if (options == nullptr) {
        const std::string detail = trimmed(problem);
        PQfreemem(problem);
        return Error{ErrorCode::cannot_open,
                     location.masked("the history address " + location.shown() +
                                     " is not valid: " + detail)};
    }
    ParsedAddress parsed;
    for (const PQconninfoOption* o = options; o->keyword != nullptr; ++o) {
        const std::string_view keyword = o->keyword;
        const char* value = o->val;
        if (value == nullptr) {
            continue;
        }
        if (keyword == "host") {
            parsed.hosts = value;
        } else if (keyword == "hostaddr") {
            parsed.hostaddrs = value;
        } else if (keyword == "sslmode") {
            parsed.sslmode_given = true;
        }
    }
    PQconninfoFree(options);
    // Unset in the URL, libpq takes them from the environment.
    const char* env_host = std::getenv("PGHOST");
    const char* env_hostaddr = std::getenv("PGHOSTADDR");
    if (parsed.hosts.empty() && env_host != nullptr) {
        parsed.hosts = env_host;
    }
    if (parsed.hostaddrs.empty() && env_hostaddr != nullptr) {
        parsed.hostaddrs = env_hostaddr;
    }
    parsed.sslmode_given = parsed.sslmode_given || std::getenv("PGSSLMODE") != nullptr;
    return parsed;
}

std::string quoted_element(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + '"';
}

std::atomic<std::uint64_t> cursor_number{0};

}  // namespace

Connection::Connection(pg_conn* conn, Location location)
    : conn_(conn), location_(std::move(location)) {}

Connection::Connection(Connection&& other) noexcept
    : conn_(std::exchange(other.conn_, nullptr)), location_(std::move(other.location_)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        if (conn_ != nullptr) {
            PQfinish(conn_);
        }
        conn_ = std::exchange(other.conn_, nullptr);
        location_ = std::move(other.location_);
    }
    return *this;
}

Connection::~Connection() {
    if (conn_ != nullptr) {
        PQfinish(conn_);
    }
}

Rows::Rows(Rows&& other) noexcept : result_(std::exchange(other.result_, nullptr)) {}

Rows& Rows::operator=(Rows&& other) noexcept {
    if (this != &other) {
        PQclear(result_);
        result_ = std::exchange(other.result_, nullptr);
    }
    return *this;
}

Rows::~Rows() {
    PQclear(result_);
}

int Rows::size() const {
    return result_ != nullptr ? PQntuples(result_) : 0;
}

bool Rows::is_null(int row, int column) const {
    return PQgetisnull(result_, row, column) != 0;
}

std::string Rows::text(int row, int column) const {
    return std::string(PQgetvalue(result_, row, column),
                       static_cast<std::size_t>(PQgetlength(result_, row, column)));
}

std::int64_t Rows::int64(int row, int column) const {
    const char* text = PQgetvalue(result_, row, column);
    std::int64_t value = 0;
    std::from_chars(text, text + PQgetlength(result_, row, column), value);
    return value;
}

double Rows::real(int row, int column) const {
    const char* text = PQgetvalue(result_, row, column);
    double value = 0;
    std::from_chars(text, text + PQgetlength(result_, row, column), value);
    return value;
}

std::string Rows::bytes(int row, int column) const {
    std::size_t length = 0;
    unsigned char* raw = PQunescapeBytea(
        reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row, column)), &length);
    if (raw == nullptr) {
        return {};
    }
    std::string out(reinterpret_cast<const char*>(raw), length);
    PQfreemem(raw);
    return out;
}

std::int64_t Rows::affected() const {
    const char* text = PQcmdTuples(result_);
    std::int64_t value = 0;
    std::from_chars(text, text + std::char_traits<char>::length(text), value);
    return value;
}

Params& Params::add(std::string_view text) {
    values_.emplace_back(std::string(text));
    formats_.push_back(0);
    return *this;
}

Params& Params::add(std::int64_t value) {
    return add(std::string_view(std::to_string(value)));
}

Params& Params::add(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return add(std::string_view(text, static_cast<std::size_t>(end - text)));
}

Params& Params::add(std::optional<int> value) {
    return value ? add(static_cast<std::int64_t>(*value)) : add_null();
}

Params& Params::add_null() {
    values_.emplace_back(std::nullopt);
    formats_.push_back(0);
    return *this;
}

Params& Params::add_bytes(std::string_view bytes) {
    values_.emplace_back(std::string(bytes));
    formats_.push_back(1);
    return *this;
}

std::vector<const char*> Params::pointers() const {
    std::vector<const char*> pointers;
    for (const auto& value : values_) {
        pointers.push_back(value ? value->data() : nullptr);
    }
    return pointers;
}

std::vector<int> Params::lengths() const {
    std::vector<int> lengths;
    for (const auto& value : values_) {
        lengths.push_back(value ? static_cast<int>(value->size()) : 0);
    }
    return lengths;
}

std::string text_array(const std::vector<std::optional<std::string>>& items) {
    std::string out = "{";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += i == 0 ? "" : ",";
        out += items[i] ? quoted_element(*items[i]) : "NULL";
    }
    return out + "}";
}

std::string int_array(const std::vector<std::optional<std::int64_t>>& items) {
    std::string out = "{";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += i == 0 ? "" : ",";
        out += items[i] ? std::to_string(*items[i]) : "NULL";
    }
    return out + "}";
}

Result<Connection> connect(const Location& location) {
    auto address = parse_address(location);
    if (!address) {
        return address.error();
    }
    // Later entries win over the URL's (client_encoding, the TLS default),
    // earlier ones give way to it (application_name, the timeouts).
    // A server that vanishes without a word (a pulled cable, a machine that
    // lost power) would otherwise keep a query waiting for a quarter of an
    // hour: the window's thread, or a worker holding a board. Unanswered
    // sends give up after 20 s, and an idle connection is probed.
    std::vector<const char*> keywords = {
        "application_name",    "connect_timeout",  "tcp_user_timeout", "keepalives_idle",
        "keepalives_interval", "keepalives_count", "dbname",           "client_encoding"};
    std::vector<const char*> values = {
        "korvel", "10", "20000", "30", "10", "3", location.text().c_str(), "UTF8"};
    if (!address.value().sslmode_given &&
        needs_tls(address.value().hosts, address.value().hostaddrs)) {
        keywords.push_back("sslmode");
        values.push_back("require");
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    Connection db(PQconnectdbParams(keywords.data(), values.data(), 1), location);
    if (db.get() == nullptr) {
        return Error{ErrorCode::cannot_open, "out of memory connecting to the history"};
    }
    if (PQstatus(db.get()) != CONNECTION_OK) {
        return error_of(db, nullptr, "cannot connect to the history " + location.shown());
    }
    PQsetNoticeProcessor(db.get(), ignore_notice, nullptr);
    return db;
}

Result<Rows> run(const Connection& db, std::string_view sql, const Params& params) {
    const std::string text(sql);
    const auto pointers = params.pointers();
    const auto lengths = params.lengths();
    for (int attempt = 1;; ++attempt) {
        if (PQstatus(db.get()) == CONNECTION_BAD) {
            PQreset(db.get());
        }
        const bool on_its_own = PQtransactionStatus(db.get()) == PQTRANS_IDLE;
        Rows rows(PQexecParams(db.get(), text.c_str(), params.size(), nullptr, pointers.data(),
                               lengths.data(), params.formats().data(), 0));
        if (rows.get() != nullptr && succeeded(rows.get())) {
            return rows;
        }
        // A statement of its own was undone whole, so it can simply go again.
        if (on_its_own && attempt < kTriesOfAConflict && is_conflict(sqlstate_of(rows.get()))) {
            continue;
        }
        return error_of(db, rows.get(), "reading or writing the history");
    }
}

Status exec(const Connection& db, const char* sql) {
    if (PQstatus(db.get()) == CONNECTION_BAD && PQtransactionStatus(db.get()) != PQTRANS_INTRANS) {
        PQreset(db.get());
    }
    Rows rows(PQexec(db.get(), sql));
    if (rows.get() == nullptr || !succeeded(rows.get())) {
        return error_of(db, rows.get(), "writing the history");
    }
    return {};
}

Status stream(const Connection& db, std::string_view sql, const Params& params, int batch,
              const std::function<bool(const Rows&, int)>& visit) {
    auto transaction = Transaction::begin(db, "BEGIN READ ONLY");
    if (!transaction) {
        return transaction.error();
    }
    const std::string cursor = "korvel_rows_" + std::to_string(++cursor_number);
    if (auto declared =
            run(db, "DECLARE " + cursor + " NO SCROLL CURSOR FOR " + std::string(sql), params);
        !declared) {
        return declared.error();
    }
    const std::string fetch = "FETCH " + std::to_string(batch) + " FROM " + cursor;
    for (bool more = true; more;) {
        auto rows = run(db, fetch);
        if (!rows) {
            return rows.error();
        }
        more = rows.value().size() == batch;
        for (int row = 0; row < rows.value().size(); ++row) {
            if (!visit(rows.value(), row)) {
                more = false;
                break;
            }
        }
    }
    // Inside the caller's transaction the cursor would outlive the read.
    if (auto closed = run(db, "CLOSE " + cursor); !closed) {
        return closed.error();
    }
    return transaction.value().commit();
}

Result<Transaction> Transaction::begin(const Connection& db, const char* how) {
    if (PQtransactionStatus(db.get()) != PQTRANS_IDLE && PQstatus(db.get()) == CONNECTION_OK) {
        return Transaction(&db, false);
    }
    if (auto begun = exec(db, how); !begun) {
        return begun.error();
    }
    return Transaction(&db, true);
}

Transaction::Transaction(Transaction&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), owned_(other.owned_) {}

Transaction::~Transaction() {
    if (db_ != nullptr && owned_) {
        PQclear(PQexec(db_->get(), "ROLLBACK"));
    }
}

Status Transaction::commit() {
    if (!owned_) {
        db_ = nullptr;
        return {};
    }
    Rows rows(PQexec(db_->get(), "COMMIT"));
    // A transaction that failed earlier answers COMMIT with ROLLBACK.
    if (rows.get() == nullptr || !succeeded(rows.get()) ||
        std::string_view(PQcmdStatus(rows.get())) != "COMMIT") {
        Error error = error_of(*db_, rows.get(), "saving to the history");
        if (rows.get() != nullptr && succeeded(rows.get())) {
            error.message = "saving to the history: the transaction was rolled back";
        }
        db_ = nullptr;
        return error;
    }
    db_ = nullptr;
    return {};
}

}  // namespace history::pg
