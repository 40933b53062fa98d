#include <gtest/gtest.h>

#include <string>

#include "text/codepage.h"
#include "text/fields.h"

namespace {

std::string between(std::string_view t, std::string start, std::string end) {
    return text::text_between(t, start, end);
}

TEST(TextBetween, CutsFirstField) {
    EXPECT_EQ(between("x<a>1</a><a>2</a>", "<a>", "</a>"), "1");
}

TEST(TextBetween, PlaceholderMarkersCutSameFieldAndAreWrittenBack) {
    const std::string page = R"({"goodsName":"abc","mallName":"shop"})";
    std::string start = GBK("#引号goodsName#引号:#引号");
    std::string end = GBK("#引号,");
    EXPECT_EQ(text::text_between(page, start, end), "abc");
    EXPECT_EQ(start, "\"goodsName\":\"");
    EXPECT_EQ(end, "\",");
    EXPECT_EQ(between(page, "\"goodsName\":\"", "\","), "abc");
}

TEST(TextBetween, MarkersWithoutPlaceholderAreLeftAlone) {
    std::string start = "#a";
    std::string end = "b";
    EXPECT_EQ(text::text_between("#axb", start, end), "x");
    EXPECT_EQ(start, "#a");
}

TEST(TextBetween, IgnoresCaseOfStartMarker) {
    EXPECT_EQ(between("GOODSID=42;", "goodsid=", ";"), "42");
    EXPECT_EQ(between("goodsid=42END", "GOODSID=", "end"), "42");
}

TEST(TextBetween, CaseMattersWhenAsked) {
    std::string start = "goodsid=";
    std::string end = ";";
    EXPECT_EQ(text::text_between("GOODSID=42;", start, end, 1, true), "");
}

TEST(TextBetween, MissingMarkersGiveEmpty) {
    EXPECT_EQ(between("a=1", "b=", ";"), "");
    EXPECT_EQ(between("a=1 and the rest", "a=", ";"), "");  // not the rest of the text
}

TEST(TextBetween, EmptyMarkers) {
    EXPECT_EQ(between("abc;d", "", ";"), "abc");
    EXPECT_EQ(between("a=1;", "a=", ""), "");
    EXPECT_EQ(between("", "", ""), "");
}

TEST(TextBetween, StartPositionSkipsEarlierMarkers) {
    std::string start = "[";
    std::string end = "]";
    EXPECT_EQ(text::text_between("[1] [2]", start, end, 2), "2");
}

TEST(TextBetween, ChineseMarkers) {
    const std::string page = GBK("公告：gonggao[今天休息]jiesu");
    EXPECT_EQ(between(page, "gonggao[", "]jiesu"), GBK("今天休息"));
}

TEST(TextBetween, EndMarkerOnTrailByteIsNotFound) {
    // The only "A" after the start marker is the trail byte of "\x81\x41".
    EXPECT_EQ(between("<\x81\x41", "<", "A"), "");
}

TEST(TextBefore, TakesTextBeforeMarker) {
    EXPECT_EQ(text::text_before("name=value", "="), "name");
    EXPECT_EQ(text::text_before("a=b=c", "=", 3), "a=b");
    EXPECT_EQ(text::text_before("a=b", "=", -4), "a");
}

TEST(TextBefore, AbsentMarkerGivesEmpty) {
    EXPECT_EQ(text::text_before("name", "="), "");
    EXPECT_EQ(text::text_before("NAME=1", "name="), "");
    EXPECT_EQ(text::text_before("xNAME=1", "name=", 1, true), "x");
}

}  // namespace
