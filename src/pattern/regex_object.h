#pragma once
// The regular-expression object: one pattern applied once to one GBK subject.
// Matching runs on characters (the texts cross to Unicode and back), so "."
// matches one Chinese character and never a line feed. Silent on failure: an
// invalid pattern gives create() false, no matches, empty texts.
#include <memory>
#include <string>
#include <string_view>

namespace pattern {

class RegexObject {
  public:
    RegexObject();
    ~RegexObject();
    RegexObject(RegexObject&&) noexcept;
    RegexObject& operator=(RegexObject&&) noexcept;
    RegexObject(const RegexObject&) = delete;
    RegexObject& operator=(const RegexObject&) = delete;

    // True when the engine ran (also with no match); false on an invalid pattern.
    bool create(std::string_view pattern, std::string_view subject, bool case_sensitive = false,
                bool multiline = true, bool global = true);
    int match_count() const;
    // Capture group `group` of match `match`, both 1-based; empty when absent.
    std::string submatch(int match, int group) const;
    // The subject with the matches replaced ($1, $&, $$ keep their meaning).
    std::string replace(std::string_view replacement) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pattern
