// Dates of the command line: YYYY-MM-DD at local midnight.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "local_date.h"
#include "plain/scoped_time_zone.h"

namespace {

using test::set_time_zone;

TEST(LocalDate, IsMidnightOfTheLocalTimeZoneAndOnlyOfRealDays) {
    const std::int64_t may_first_utc = 1714521600000;  // 2024-05-01T00:00:00Z
    set_time_zone("UTC0");
    EXPECT_EQ(cli::local_midnight_ms("2024-05-01"), may_first_utc);
    EXPECT_EQ(cli::local_midnight_ms("2024-02-29"), may_first_utc - 62LL * 86400000);
    set_time_zone("CST-8");  // eight hours ahead of UTC
    EXPECT_EQ(cli::local_midnight_ms("2024-05-01"), may_first_utc - 8LL * 3600000);
    set_time_zone(nullptr);
    for (const char* text : {"", "2024-5-01", "2024/05/01", "2024-05-01 ", "2023-02-29",
                             "2024-13-01", "2024-00-10", "2024-04-31", "+024-05-01"})
        EXPECT_FALSE(cli::local_midnight_ms(text)) << text;
}

}  // namespace
