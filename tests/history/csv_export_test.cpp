// The pieces of every CSV export and the times in them.
#include <gtest/gtest.h>

#include "history/csv_export.h"
#include "history/iso_time.h"
#include "history/local_time.h"
#include "plain/scoped_time_zone.h"

namespace {

TEST(CsvField, QuotesOnlyWhatNeedsQuoting) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"辣条", "辣条"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {"辣条,小包\r\n", "\"辣条,小包\r\n\""},
        {"semi;colon", "semi;colon"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(history::csv_field(c.in), c.out) << c.in;
    }
}

TEST(IsoTime, UtcWithMillisecondsOnEitherSideOfTheEpoch) {
    const struct {
        std::int64_t ms;
        const char* text;
    } cases[] = {
        {0, "1970-01-01T00:00:00.000Z"},
        {1'714'552'200'250, "2024-05-01T08:30:00.250Z"},
        {951'782'400'000, "2000-02-29T00:00:00.000Z"},
        {-1, "1969-12-31T23:59:59.999Z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(history::iso_utc(c.ms), c.text) << c.ms;
    }
}

TEST(SpreadsheetSafe, AnApostropheBeforeWhatASpreadsheetWouldRun) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"=HYPERLINK(\"http://x\")", "'=HYPERLINK(\"http://x\")"},
        {"+1", "'+1"},
        {"-辣条", "'-辣条"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tcmd", "'\tcmd"},
        {"\rcmd", "'\rcmd"},
        {"辣条", "辣条"},
        {"", ""},
        {"'=already", "'=already"},
        {"a=b", "a=b"},
        {" =spaced", " =spaced"},
        {"4033138", "4033138"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(history::spreadsheet_safe(c.in), c.out) << c.in;
    }
    EXPECT_EQ(history::csv_text("=1,2"), "\"'=1,2\"");
    EXPECT_EQ(history::csv_line({"a", history::csv_text("-b")}), "a,'-b\r\n");
}

TEST(LocalTime, TheLocalReadingWithTheZonesOffset) {
    const struct {
        const char* zone;
        std::int64_t ms;
        const char* text;
    } cases[] = {
        {"Asia/Shanghai", 1'796'798'883'000, "2026-12-09 14:48:03 +08:00"},
        {"UTC", 1'796'798'883'999, "2026-12-09 06:48:03 +00:00"},
        {"Asia/Shanghai", 0, "1970-01-01 08:00:00 +08:00"},
        {"UTC", -1, "1969-12-31 23:59:59 +00:00"},
        {"America/St_Johns", 1'796'798'883'000, "2026-12-09 03:18:03 -03:30"},
        {"Europe/Berlin", 1'783'000'000'000, "2026-07-02 15:46:40 +02:00"},
    };
    for (const auto& c : cases) {
        const test::ScopedTimeZone zone(c.zone);
        EXPECT_EQ(history::local_time_with_offset(c.ms), c.text) << c.zone << " " << c.ms;
    }
}

}  // namespace
