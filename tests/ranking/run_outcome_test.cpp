#include "ranking/run_outcome.h"

#include <gtest/gtest.h>

#include "outcome_print.h"

namespace {

using net::PageFailure;
using net::PageResult;
using ranking::RunOutcome;
using Fail = ranking::FailReason;

struct FailureCase {
    const char* name;
    PageResult page;
    std::size_t entries;  // entries the body yielded
    std::optional<RunOutcome> expected;
};

// Rows show as their name in test output.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

PageResult answered(std::string body) {
    return PageResult{std::move(body), 200, PageFailure::none, -1};
}

PageResult not_answered(PageFailure failure) {
    return PageResult{"", 0, failure, -1};
}

class PageFailureOf : public testing::TestWithParam<FailureCase> {};

TEST_P(PageFailureOf, Page) {
    EXPECT_EQ(ranking::page_failure(GetParam().page, GetParam().entries), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PageFailureOf,
    testing::Values(
        FailureCase{"EmptyJsonListing", answered(R"({"goods_list":[]})"), 0, std::nullopt},
        FailureCase{"EmptyJsonArrayWithBomAndBlanks", answered("\xEF\xBB\xBF [ ]\r\n"), 0,
                    std::nullopt},
        // Entries count even where the body around them is not JSON.
        FailureCase{"EntriesInText", answered(R"(x,"goods_id":5,"a":"b"thumb)"), 1, std::nullopt},
        FailureCase{"HalfAnObject", answered(R"({"goods_list":[)"), 0,
                    RunOutcome::failed(Fail::unreadable)},
        FailureCase{"BlanksOnly", answered(" \r\n"), 0, RunOutcome::failed(Fail::unreadable)},
        FailureCase{"ProgramClosing", not_answered(PageFailure::closing), 0,
                    RunOutcome::failed(Fail::connect)},
        FailureCase{"TimedOut", not_answered(PageFailure::timeout), 0,
                    RunOutcome::failed(Fail::timeout)},
        // A listing in the body of an error answer is still an error.
        FailureCase{"Status503",
                    PageResult{R"({"goods_list":[]})", 503, PageFailure::http_status, -1}, 3,
                    RunOutcome::failed(Fail::http_status, 503)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
