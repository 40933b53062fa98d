#include "pattern/regex_object.h"

#include <optional>

#include "pattern/match_list.h"
#include "pattern/pcre2_engine.h"
#include "pattern/replacement.h"
#include "text/codepage.h"

namespace pattern {

// The subject is kept in UTF-8, the form the engine matched; texts are
// turned back into GBK only when asked for.
struct RegexObject::Impl {
    std::string subject;
    std::optional<MatchList> matches;  // empty when the last create failed
};

RegexObject::RegexObject() : impl_(std::make_unique<Impl>()) {}
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(RegexObject&&) noexcept = default;
RegexObject& RegexObject::operator=(RegexObject&&) noexcept = default;

bool RegexObject::create(std::string_view pattern, std::string_view subject, bool case_sensitive,
                         bool multiline, bool global) {
    if (!impl_) {
        impl_ = std::make_unique<Impl>();
    }
    impl_->matches.reset();
    impl_->subject = text::gbk_to_utf8(subject);
    impl_->matches = engine::find_all(text::gbk_to_utf8(pattern), impl_->subject,
                                      engine::Options{case_sensitive, multiline, global});
    return impl_->matches.has_value();
}

int RegexObject::match_count() const {
    return impl_ && impl_->matches ? static_cast<int>(impl_->matches->size()) : 0;
}

std::string RegexObject::submatch(int match, int group) const {
    if (match < 1 || group < 1 || match_count() < match) {
        return {};
    }
    const MatchList::Span span = impl_->matches->span(static_cast<std::size_t>(match) - 1, group);
    if (!span.took_part()) {
        return {};
    }
    return text::utf8_to_gbk(
        std::string_view(impl_->subject).substr(span.begin, span.end - span.begin));
}

std::string RegexObject::replace(std::string_view replacement) const {
    if (!impl_ || !impl_->matches) {
        return {};
    }
    return text::utf8_to_gbk(
        replace_matches(impl_->subject, *impl_->matches, text::gbk_to_utf8(replacement)));
}

}  // namespace pattern
