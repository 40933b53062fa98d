#define PCRE2_CODE_UNIT_WIDTH 8
#include "pattern/pcre2_engine.h"

#include <pcre2.h>

#include <cstdint>
#include <memory>

namespace pattern::engine {
namespace {

// Move-only owners of the PCRE2 handles.
template <typename T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)>
using Owner = std::unique_ptr<T, Deleter<T, Free>>;

using CompileContext = Owner<pcre2_compile_context, pcre2_compile_context_free>;
using Code = Owner<pcre2_code, pcre2_code_free>;
using MatchData = Owner<pcre2_match_data, pcre2_match_data_free>;
using MatchContext = Owner<pcre2_match_context, pcre2_match_context_free>;
using JitStack = Owner<pcre2_jit_stack, pcre2_jit_stack_free>;

constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 4 * 1024 * 1024;

// Only a line feed ends a line: "." stops at "\n" but matches a lone "\r",
// and ^ and $ in multi-line mode sit next to line feeds. The program's
// patterns, such as the blank-line one, rely on that.
Code compile(std::string_view pattern, Options options) {
    CompileContext context(pcre2_compile_context_create(nullptr));
    if (!context) {
        return nullptr;
    }
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
    // MATCH_INVALID_UTF: no up-front validity check of the whole subject on
    // every call (a megabyte costs about a millisecond), and still no harm
    // from ill-formed input.
    std::uint32_t flags =
        PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALT_BSUX | PCRE2_DOLLAR_ENDONLY;
    flags |= options.case_sensitive ? 0U : PCRE2_CASELESS;
    flags |= options.multiline ? PCRE2_MULTILINE : 0U;
    int error = 0;
    PCRE2_SIZE error_offset = 0;
    Code code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), flags,
                            &error, &error_offset, context.get()));
    if (code) {
        pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);  // falls back to the interpreter
    }
    return code;
}

// Index of the character after the one starting at i (UTF-8).
std::size_t next_character(std::string_view s, std::size_t i) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0U) == 0x80U) {
        ++i;
    }
    return i;
}

struct Matcher {
    const pcre2_code* code;
    std::string_view subject;
    MatchData data;
    MatchContext context;
    JitStack jit_stack;

    int run(std::size_t offset, std::uint32_t flags) {
        return pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(),
                           offset, flags, data.get(), context.get());
    }
};

}  // namespace

// The usual global-match loop: after an empty match, first try a non-empty
// match at the same place, and only then move on one character.
std::optional<MatchList> find_all(std::string_view pattern_utf8, std::string_view subject_utf8,
                                  Options options) {
    if (subject_utf8.size() >= MatchList::kUnset) {
        return std::nullopt;
    }
    const Code code = compile(pattern_utf8, options);
    if (!code) {
        return std::nullopt;
    }
    Matcher m{code.get(), subject_utf8,
              MatchData(pcre2_match_data_create_from_pattern(code.get(), nullptr)),
              MatchContext(pcre2_match_context_create(nullptr)),
              JitStack(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr))};
    if (!m.data || !m.context) {
        return std::nullopt;
    }
    if (m.jit_stack) {
        pcre2_jit_stack_assign(m.context.get(), nullptr, m.jit_stack.get());
    }
    std::uint32_t group_count = 0;
    pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &group_count);
    MatchList matches(static_cast<int>(group_count));

    std::size_t offset = 0;
    std::uint32_t retry_flags = 0;
    while (offset <= subject_utf8.size()) {
        const int rc = m.run(offset, retry_flags);
        if (rc == PCRE2_ERROR_NOMATCH) {
            if (retry_flags == 0) {
                break;
            }
            offset = next_character(subject_utf8, offset);
            retry_flags = 0;
            continue;
        }
        if (rc < 0) {
            return std::nullopt;
        }
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m.data.get());
        matches.append(ovector, subject_utf8.size());
        if (!options.global || ovector[1] < ovector[0]) {
            break;
        }
        offset = ovector[1];
        retry_flags = ovector[0] == ovector[1] ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0U;
    }
    return matches;
}

}  // namespace pattern::engine
