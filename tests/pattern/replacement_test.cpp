#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "pattern/replacement.h"

namespace {

// "say hello to bob": one match "hello to" with group 1 "hello", group 2 "bob"
// absent (did not take part) and group 3 "to".
pattern::MatchList one_match() {
    pattern::MatchList list(3);
    const std::size_t unset = ~std::size_t{0};
    const std::vector<std::size_t> pairs = {4, 12, 4, 9, unset, unset, 10, 12};
    list.append(pairs.data(), 16);
    return list;
}

struct TemplateCase {
    const char* replacement;
    const char* expected;
};

class ReplacementTemplate : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(ReplacementTemplate, Expands) {
    EXPECT_EQ(pattern::replace_matches("say hello to bob", one_match(), GetParam().replacement),
              GetParam().expected)
        << GetParam().replacement;
}

INSTANTIATE_TEST_SUITE_P(
    Pattern, ReplacementTemplate,
    ::testing::Values(TemplateCase{"X", "say X bob"}, TemplateCase{"", "say  bob"},
                      TemplateCase{"[$1]", "say [hello] bob"},
                      TemplateCase{"[$&]", "say [hello to] bob"}, TemplateCase{"$$1", "say $1 bob"},
                      TemplateCase{"[$2]", "say [] bob"}, TemplateCase{"$3$1", "say tohello bob"},
                      TemplateCase{"$01", "say hello bob"},
                      TemplateCase{"$13", "say hello3 bob"},  // no group 13: group 1, then "3"
                      TemplateCase{"$9", "say $9 bob"}, TemplateCase{"$0", "say $0 bob"},
                      TemplateCase{"[$`]", "say [say ] bob"},
                      TemplateCase{"[$']", "say [ bob] bob"}, TemplateCase{"$", "say $ bob"},
                      TemplateCase{"a$x", "say a$x bob"}));

TEST(Replacement, NoMatchesGiveSubject) {
    const pattern::MatchList none(1);
    EXPECT_EQ(pattern::replace_matches("abc", none, "$1"), "abc");
}

TEST(MatchList, OutOfRangeSpansDidNotTakePart) {
    const pattern::MatchList list = one_match();
    EXPECT_EQ(list.size(), 1U);
    EXPECT_TRUE(list.span(0, 3).took_part());
    EXPECT_FALSE(list.span(0, 2).took_part());
    EXPECT_FALSE(list.span(0, 4).took_part());
    EXPECT_FALSE(list.span(1, 0).took_part());
    EXPECT_FALSE(list.span(0, -1).took_part());
}

}  // namespace
