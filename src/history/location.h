#pragma once
// Where a history lives: a SQLite file (a path) or a PostgreSQL database (a
// postgresql:// or postgres:// URL). Kept as UTF-8 text. A URL may carry a
// password, so anything shown to the user goes through shown() or masked().
#include <filesystem>
#include <string>
#include <string_view>

namespace history {

class Location {
  public:
    Location() = default;
    // Implicit: every file path is a location, so callers that open a file
    // keep passing the path.
    Location(const std::filesystem::path& file);
    Location(std::string text);  // UTF-8: a URL as above, else a file path
    Location(const char* text);

    bool empty() const { return text_.empty(); }
    bool is_server() const;
    // As given, password included: for opening a connection, never for showing.
    const std::string& text() const { return text_; }
    // The file of a location that is no server.
    std::filesystem::path file() const;
    // For messages: a file's path as it is, a URL with its password as "***".
    std::string shown() const;
    // `message` with the password masked wherever it appears, as typed in
    // the URL or percent-decoded.
    std::string masked(std::string message) const;
    // `edited`, an address typed over shown(), with each password still
    // shown as "***" given back from this location, in order: a form can
    // show an address masked and save it edited without asking for the
    // password again.
    std::string unmasked(std::string edited) const;

    bool operator==(const Location&) const = default;

  private:
    std::string text_;
};

bool is_server_url(std::string_view text);

}  // namespace history
