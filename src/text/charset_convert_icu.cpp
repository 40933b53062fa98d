#include "text/charset_convert.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utrans.h>

#include <array>
#include <memory>

namespace text::charset {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

struct TransliteratorCloser {
    void operator()(UTransliterator* t) const { utrans_close(t); }
};
using Transliterator = std::unique_ptr<UTransliterator, TransliteratorCloser>;

// Illegal or unmapped input decodes to "?" (ICU would write U+FFFD, which has
// no GBK form and would turn into "?" one step later anyway).
void to_unicode_question_mark(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                              UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) {
        return;  // reset, close, clone: nothing to write
    }
    static const UChar kQuestion = u'?';
    *err = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &kQuestion, 1, 0, err);
}

// A character without a form in the target becomes "?". ICU's own substitute
// callback would drop default-ignorable characters (soft hyphen, zero-width
// space) without a trace.
void from_unicode_question_mark(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                                UChar32, UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    *err = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, err);
}

enum class Unmappable { question_mark, stop };

Converter open_converter(Charset charset, Unmappable unmappable) {
    static constexpr std::array<const char*, 3> kNames = {"UTF-8", "windows-936", "windows-950"};
    UErrorCode err = U_ZERO_ERROR;
    Converter c(ucnv_open(kNames[static_cast<std::size_t>(charset)], &err));
    if (U_FAILURE(err)) {
        return nullptr;
    }
    ucnv_setToUCallBack(c.get(), to_unicode_question_mark, nullptr, nullptr, nullptr, &err);
    if (unmappable == Unmappable::stop) {
        ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    } else {
        ucnv_setFromUCallBack(c.get(), from_unicode_question_mark, nullptr, nullptr, nullptr, &err);
    }
    ucnv_setFallback(c.get(), false);
    return U_SUCCESS(err) ? std::move(c) : nullptr;
}

// Converters are opened once per thread and kept: opening one costs far more
// than a typical conversion.
UConverter* converter(Charset charset) {
    thread_local std::array<Converter, 3> converters;
    Converter& slot = converters[static_cast<std::size_t>(charset)];
    if (!slot) {
        slot = open_converter(charset, Unmappable::question_mark);
    }
    return slot.get();
}

UConverter* stopping_gbk_converter() {
    thread_local Converter gbk = open_converter(Charset::gbk, Unmappable::stop);
    return gbk.get();
}

std::size_t output_estimate(Charset to, std::size_t in) {
    return to == Charset::utf8 ? in + in / 2 + 16 : in + 16;
}

// Converts through ICU's pivot buffer, growing `out` on overflow. With a
// stopping target converter the conversion ends quietly at the first
// unmappable character and keeps what came before it.
void convert_into(UConverter* from, UConverter* to, Charset to_charset, std::string_view in,
                  std::string& out) {
    if (from == nullptr || to == nullptr || in.empty()) {
        return;
    }
    const std::size_t base = out.size();
    out.resize(base + output_estimate(to_charset, in.size()));
    char* target = out.data() + base;
    const char* source = in.data();
    std::array<UChar, 4096> pivot{};
    UChar* pivot_source = pivot.data();
    UChar* pivot_target = pivot.data();
    UBool reset = true;
    for (;;) {
        UErrorCode err = U_ZERO_ERROR;
        ucnv_convertEx(to, from, &target, out.data() + out.size(), &source, in.data() + in.size(),
                       pivot.data(), &pivot_source, &pivot_target, pivot.data() + pivot.size(),
                       reset, true, &err);
        reset = false;
        if (err == U_BUFFER_OVERFLOW_ERROR) {
            const std::size_t used = static_cast<std::size_t>(target - out.data());
            out.resize(out.size() * 2);
            target = out.data() + used;
            continue;
        }
        out.resize(static_cast<std::size_t>(target - out.data()));
        return;
    }
}

std::u16string to_utf16(Charset from, std::string_view in) {
    UConverter* c = converter(from);
    if (c == nullptr || in.empty()) {
        return {};
    }
    ucnv_resetToUnicode(c);
    std::u16string out(in.size() + 1, u'\0');
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(c, out.data(), static_cast<int32_t>(out.size()), in.data(),
                                    static_cast<int32_t>(in.size()), &err);
    if (U_FAILURE(err)) {
        return {};
    }
    out.resize(static_cast<std::size_t>(n));
    return out;
}

UTransliterator* traditional_to_simplified() {
    thread_local Transliterator t = [] {
        UErrorCode err = U_ZERO_ERROR;
        Transliterator opened(
            utrans_openU(u"Traditional-Simplified", -1, UTRANS_FORWARD, nullptr, 0, nullptr, &err));
        return U_SUCCESS(err) ? std::move(opened) : nullptr;
    }();
    return t.get();
}

std::u16string transliterate(UTransliterator* t, const std::u16string& in) {
    for (std::size_t capacity = in.size() * 2 + 16;; capacity *= 2) {
        std::u16string work(in);
        work.resize(capacity);
        auto length = static_cast<int32_t>(in.size());
        int32_t limit = length;
        UErrorCode err = U_ZERO_ERROR;
        utrans_transUChars(t, work.data(), &length, static_cast<int32_t>(capacity), 0, &limit,
                           &err);
        if (err == U_BUFFER_OVERFLOW_ERROR) {
            continue;
        }
        if (U_FAILURE(err)) {
            return in;
        }
        work.resize(static_cast<std::size_t>(length));
        return work;
    }
}

std::string from_utf16(Charset to, std::u16string_view in) {
    UConverter* c = converter(to);
    if (c == nullptr || in.empty()) {
        return {};
    }
    ucnv_resetFromUnicode(c);
    std::string out(in.size() * 3 + 1, '\0');  // at most three bytes per UTF-16 unit
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(c, out.data(), static_cast<int32_t>(out.size()), in.data(),
                                      static_cast<int32_t>(in.size()), &err);
    if (U_FAILURE(err)) {
        return {};
    }
    out.resize(static_cast<std::size_t>(n));
    return out;
}

// Every BMP code point from 0x80 up (surrogates left out) through the
// substituting GBK encoder in one call: each comes out as "?" (no mapping),
// one byte or a lead/trail pair, in order.
std::vector<std::uint16_t> read_from_unicode_table() {
    std::vector<std::uint16_t> table(0x10000, 0);
    std::u16string all;
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp < 0xD800 || cp > 0xDFFF) {
            all += static_cast<char16_t>(cp);
        }
    }
    const Converter gbk = open_converter(Charset::gbk, Unmappable::question_mark);
    std::string out(all.size() * 2, '\0');
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = gbk ? ucnv_fromUChars(gbk.get(), out.data(), static_cast<int32_t>(out.size()),
                                            all.data(), static_cast<int32_t>(all.size()), &err)
                          : 0;
    if (!gbk || U_FAILURE(err)) {
        return {};
    }
    std::size_t at = 0;
    for (const char16_t cp : all) {
        if (at >= static_cast<std::size_t>(n)) {
            return {};
        }
        const auto b = static_cast<unsigned char>(out[at]);
        const bool pair = b >= 0x81 && b <= 0xFE;
        if (pair && at + 1 < static_cast<std::size_t>(n)) {
            table[cp] =
                static_cast<std::uint16_t>(b << 8 | static_cast<unsigned char>(out[at + 1]));
        } else if (b != '?') {
            table[cp] = b;
        }
        at += pair ? 2 : 1;
    }
    return at == static_cast<std::size_t>(n) ? table : std::vector<std::uint16_t>{};
}

// Every lead/trail pair through the GBK decoder in one call; each pair is one
// BMP character in ICU's table, which the count of the output confirms.
std::vector<std::uint16_t> read_to_unicode_table() {
    std::string all;
    std::vector<std::size_t> slots;  // table index of each pair
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail != 0x7F) {  // 0x7F is no trail byte
                all += static_cast<char>(lead);
                all += static_cast<char>(trail);
                slots.push_back(
                    static_cast<std::size_t>((lead - 0x81) * GbkTables::kTrails + (trail - 0x40)));
            }
        }
    }
    const Converter gbk = open_converter(Charset::gbk, Unmappable::question_mark);
    std::u16string out(all.size(), u'\0');
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = gbk ? ucnv_toUChars(gbk.get(), out.data(), static_cast<int32_t>(out.size()),
                                          all.data(), static_cast<int32_t>(all.size()), &err)
                          : 0;
    if (!gbk || U_FAILURE(err) || static_cast<std::size_t>(n) != slots.size()) {
        return {};
    }
    std::vector<std::uint16_t> table(static_cast<std::size_t>(0xFE - 0x81 + 1) * GbkTables::kTrails,
                                     0);
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const char16_t u = out[k];
        const bool usable = u >= 0x80 && (u < 0xD800 || u > 0xDFFF);
        table[slots[k]] = usable ? u : 0;
    }
    return table;
}

}  // namespace

void convert_append(Charset from, Charset to, std::string_view in, std::string& out) {
    convert_into(converter(from), converter(to), to, in, out);
}

const GbkTables& gbk_tables() {
    static const GbkTables tables{read_from_unicode_table(), read_to_unicode_table()};
    return tables;
}

std::string big5_to_gbk_prefix(std::string_view big5) {
    std::string out;
    convert_into(converter(Charset::big5), stopping_gbk_converter(), Charset::gbk, big5, out);
    return out;
}

std::string simplify_gbk(std::string_view gbk) {
    UTransliterator* t = traditional_to_simplified();
    if (t == nullptr) {
        return std::string(gbk);
    }
    return from_utf16(Charset::gbk, transliterate(t, to_utf16(Charset::gbk, gbk)));
}

}  // namespace text::charset
