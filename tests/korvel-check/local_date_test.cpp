// Dates of the command line: YYYY-MM-DD at local midnight.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "local_date.h"

namespace {

// Sets the time zone for one test and puts the old one back.
class TimeZone {
  public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            old_ = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (old_)
            ::setenv("TZ", old_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

  private:
    std::optional<std::string> old_;
};

TEST(LocalDate, IsMidnightOfTheLocalTimeZone) {
    const std::int64_t may_first_utc = 1714521600000;  // 2024-05-01T00:00:00Z
    {
        TimeZone utc("UTC0");
        EXPECT_EQ(cli::local_midnight_ms("2024-05-01"), may_first_utc);
        EXPECT_EQ(cli::local_midnight_ms("2024-02-29"), may_first_utc - 62LL * 86400000);
    }
    TimeZone east("CST-8");  // eight hours ahead of UTC, no daylight saving time
    EXPECT_EQ(cli::local_midnight_ms("2024-05-01"), may_first_utc - 8LL * 3600000);
}

TEST(LocalDate, RefusesWhatIsNoDay) {
    for (const char* text :
         {"", "2024-5-01", "2024-05-1", "2024/05/01", "2024-05-01 ", "24-05-01", "2023-02-29",
          "2024-13-01", "2024-00-10", "2024-04-31", "abcd-ef-gh", "+024-05-01", "2024-05-01T00"})
        EXPECT_FALSE(cli::local_midnight_ms(text)) << text;
}

}  // namespace
