#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include <random>
#include <string>
#include <vector>

#include "text/charset_convert.h"
#include "text/codepage.h"

namespace {

// Decodes one UTF-8 sequence; -1 when s is not exactly one code point.
long single_code_point(const std::string& s) {
    const auto b = [&](std::size_t i) {
        return static_cast<long>(static_cast<unsigned char>(s[i]));
    };
    if (s.size() == 1 && b(0) < 0x80) {
        return b(0);
    }
    if (s.size() == 2 && (b(0) & 0xE0) == 0xC0) {
        return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    }
    if (s.size() == 3 && (b(0) & 0xF0) == 0xE0) {
        return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    }
    return -1;
}

TEST(Codepage, EveryDoubleByteGbkCharacterSurvivesRoundTrip) {
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = text::gbk_to_utf8(gbk);
            const long cp = single_code_point(utf8);
            ASSERT_GT(cp, 0x7F) << std::hex << lead << trail;
            ASSERT_EQ(text::utf8_to_gbk(utf8), gbk) << std::hex << lead << trail;
            ++characters;
        }
    }
    EXPECT_EQ(characters, 126 * 190);
}

TEST(Codepage, HanziBlockDecodesToUnifiedIdeographs) {
    // B0A1..F7FE holds the 6763 common characters (D7FA..D7FE are unused).
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail >= 0xFA) {
                continue;
            }
            const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
            const long cp = single_code_point(text::gbk_to_utf8(gbk));
            ASSERT_GE(cp, 0x4E00) << std::hex << lead << trail;
            ASSERT_LE(cp, 0x9FA5) << std::hex << lead << trail;
        }
    }
}

struct KnownCharacter {
    const char* gbk;
    long code_point;
};

class KnownCharacters : public ::testing::TestWithParam<KnownCharacter> {};

TEST_P(KnownCharacters, DecodeToTheirCodePoint) {
    EXPECT_EQ(single_code_point(text::gbk_to_utf8(GetParam().gbk)), GetParam().code_point);
}

INSTANTIATE_TEST_SUITE_P(
    Codepage, KnownCharacters,
    ::testing::Values(KnownCharacter{"\xB0\xA1", 0x554A}, KnownCharacter{"\xD6\xD0", 0x4E2D},
                      KnownCharacter{"\xB9\xFA", 0x56FD}, KnownCharacter{"\x81\x40", 0x4E02},
                      KnownCharacter{"\xA1\xA1", 0x3000}, KnownCharacter{"\xA1\xAA", 0x2014},
                      KnownCharacter{"\xA3\xB1", 0xFF11}));

TEST(Codepage, SourceLiteralsBecomeGbk) {
    EXPECT_EQ(GBK("中"), "\xD6\xD0");
    EXPECT_EQ(GBK("—"), "\xA1\xAA");
    EXPECT_EQ(GBK("a中b"),
              "a\xD6\xD0"
              "b");
}

struct ConversionCase {
    const char* name;
    std::string result;
    std::string expected;
};

class ConversionTable : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTable, Converts) {
    EXPECT_EQ(GetParam().result, GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, ConversionTable,
    ::testing::Values(
        ConversionCase{"invalid UTF-8 byte", text::utf8_to_gbk("a\xFFz"), "a?z"},
        ConversionCase{"truncated UTF-8", text::utf8_to_gbk("a\xE4\xB8"), "a?"},
        ConversionCase{"truncated UTF-8 mid text", text::utf8_to_gbk("a\xE4\xB8z"), "a?z"},
        ConversionCase{"soft hyphen is not dropped",
                       text::utf8_to_gbk("a\xC2\xAD"
                                         "b"),
                       "a?b"},
        ConversionCase{"no GBK form", text::utf8_to_gbk("\xF0\x9F\x98\x80!"), "?!"},
        ConversionCase{"UTF-8 stops at NUL", text::utf8_to_gbk(std::string("a\0\xE4\xB8\xAD", 5)),
                       "a"},
        ConversionCase{"lone lead at end", text::gbk_to_utf8("a\x81"), "a?"},
        ConversionCase{"lead before invalid trail", text::gbk_to_utf8("\x81 x"), "? x"},
        ConversionCase{"GBK stops at NUL", text::gbk_to_utf8(std::string("\xD6\xD0\0\xD6\xD0", 5)),
                       "\xE4\xB8\xAD"},
        ConversionCase{"empty", text::gbk_to_utf8(""), ""}));

INSTANTIATE_TEST_SUITE_P(
    UrlDecode, ConversionTable,
    ::testing::Values(
        ConversionCase{"escaped UTF-8", text::url_decode_to_gbk("%E4%B8%AD"), "\xD6\xD0"},
        ConversionCase{"lower-case digits", text::url_decode_to_gbk("%e4%b8%ad"), "\xD6\xD0"},
        ConversionCase{"plus unchanged", text::url_decode_to_gbk("a+b"), "a+b"},
        ConversionCase{"plain UTF-8 converted", text::url_decode_to_gbk("\xE4\xB8\xAD"),
                       "\xD6\xD0"},
        ConversionCase{"zero byte dropped", text::url_decode_to_gbk("a%00b"), "ab"},
        ConversionCase{"percent at end", text::url_decode_to_gbk("a%"), "a"},
        ConversionCase{"one digit at end", text::url_decode_to_gbk("%4"), "@"},         // 16*4 + 0
        ConversionCase{"non-digit counts -2", text::url_decode_to_gbk("%2G"), "\x1E"},  // 32-2
        ConversionCase{"escaped percent", text::url_decode_to_gbk("%25"), "%"}));

// Wine's LCMapStringEx leaves traditional characters as they are; Windows
// itself maps them as ICU does.
bool simplification_unavailable() {
#if defined(_WIN32)
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

TEST(Big5, ConvertsAndSimplifies) {
    if (simplification_unavailable()) {
        EXPECT_EQ(text::big5_to_gbk_simplified("\xA4\xA4\xB0\xEA"),
                  GBK("中") + "\x87\xF8");  // 中國
        GTEST_SKIP() << "under Wine LCMapStringEx(LCMAP_SIMPLIFIED_CHINESE) maps nothing";
    }
    // 中國 in Big5 comes out as 中国.
    EXPECT_EQ(text::big5_to_gbk_simplified("\xA4\xA4\xB0\xEA"), GBK("中国"));
    EXPECT_EQ(text::big5_to_gbk_simplified("abc"), "abc");
    EXPECT_EQ(text::big5_to_gbk_simplified(""), "");
}

TEST(Big5, TextEndsAtFirstCharacterWithoutGbkForm) {
    // A1 45 is the hyphenation point U+2027, which GBK lacks.
    EXPECT_EQ(text::big5_to_gbk_simplified("ab\xA1\x45"
                                           "cd"),
              "ab");
    EXPECT_EQ(text::big5_to_gbk_simplified("\xA1\x45"), "");
    if (!simplification_unavailable()) {
        EXPECT_EQ(text::big5_to_gbk_simplified("\xB0\xEA\xA1\x45\xB0\xEA"), GBK("国"));
    }
}

// Well-formed characters convert through tables read out of the converter
// (ICU, or the system's code pages on Windows), anything else through the
// converter itself; the results must be those of handing it the whole text.
std::string whole_through_converter(text::charset::Charset from, text::charset::Charset to,
                                    const std::string& in) {
    std::string out;
    text::charset::convert_append(from, to, in, out);
    return out;
}

std::string utf8_of(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

TEST(Codepage, EveryBmpCharacterConvertsAsIcuConvertsIt) {
    using text::charset::Charset;
    int mapped = 0;
    for (char32_t cp = 1; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        const std::string in = "a" + utf8_of(cp) + "b";
        const std::string gbk = text::utf8_to_gbk(in);
        ASSERT_EQ(gbk, whole_through_converter(Charset::utf8, Charset::gbk, in))
            << std::hex << static_cast<long>(cp);
        mapped += gbk != "a?b" ? 1 : 0;
    }
    EXPECT_GT(mapped, 21000);
}

TEST(Codepage, EveryGbkPairConvertsAsIcuConvertsIt) {
    using text::charset::Charset;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0x01; trail <= 0xFF; ++trail) {  // a NUL would end the text
            const std::string in{'a', static_cast<char>(lead), static_cast<char>(trail), 'b'};
            ASSERT_EQ(text::gbk_to_utf8(in),
                      whole_through_converter(Charset::gbk, Charset::utf8, in))
                << std::hex << lead << ' ' << trail;
        }
    }
}

// One number for every mapping of the three conversions: each BMP character
// to GBK, each GBK pair to UTF-8, each Big5 pair to GBK. ICU's tables and the
// Windows code pages 936 and 950 give the same number, so a platform whose
// tables differ fails here (the traditional -> simplified step is left out:
// Wine does not do it, see Big5.ConvertsAndSimplifies).
std::uint64_t fingerprint_of_every_mapping() {
    std::uint64_t hash = 14695981039346656037ULL;
    const auto mix = [&hash](const std::string& bytes) {
        for (const char c : bytes + '|') {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    };
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp < 0xD800 || cp > 0xDFFF) {
            mix(text::utf8_to_gbk("a" + utf8_of(cp) + "b"));
        }
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string in{'a', static_cast<char>(lead), static_cast<char>(trail), 'b'};
            mix(text::gbk_to_utf8(in));
            mix(text::charset::big5_to_gbk_prefix(in));
        }
    }
    return hash;
}

TEST(Codepage, EveryMappingIsTheSameOnEveryPlatform) {
    EXPECT_EQ(fingerprint_of_every_mapping(), 0x6ebb9d5b65365fc7ULL);
}

std::string random_bytes(std::mt19937& rng, bool ascii_heavy) {
    // Pieces of well-formed and ill-formed UTF-8 and GBK.
    static const std::vector<std::string> kPieces = {
        "\xE4\xB8\xAD", "\xC3\xA9",     "\xF0\x9F\x98\x80",
        "\xED\xA0\x80", "\xE0\x80\x80", "\xC0\xAF",
        "\x80",         "\xFF",         "\xD6\xD0",
        "\x81\x41",     "\x81",         "\xE4\xB8",
        "\xA1\xA1",     "\xEF\xBF\xBD"};
    std::string s;
    for (std::size_t i = 0, n = rng() % 60; i < n; ++i) {
        const bool high = ascii_heavy ? rng() % 8 == 0 : rng() % 2 == 0;
        s += high ? kPieces[rng() % kPieces.size()]
                  : std::string(1, static_cast<char>(' ' + rng() % 90));
    }
    return s;
}

TEST(Codepage, MixedAndIllFormedTextConvertsAsWholeIcuConversion) {
    using text::charset::Charset;
    std::mt19937 rng(5);
    for (int round = 0; round < 20000; ++round) {
        const std::string s = random_bytes(rng, round % 2 == 0);
        ASSERT_EQ(text::utf8_to_gbk(s), whole_through_converter(Charset::utf8, Charset::gbk, s))
            << s;
        ASSERT_EQ(text::gbk_to_utf8(s), whole_through_converter(Charset::gbk, Charset::utf8, s))
            << s;
    }
}

TEST(Codepage, TenMegabyteText) {
    std::string utf8;
    while (utf8.size() < 10'000'000) {
        utf8 += "{\"goods_name\":\"\xE8\xBE\xA3\xE6\x9D\xA1 500g\"},";
    }
    const std::string gbk = text::utf8_to_gbk(utf8);
    EXPECT_LT(gbk.size(), utf8.size());
    EXPECT_EQ(text::gbk_to_utf8(gbk), utf8);
}

}  // namespace
