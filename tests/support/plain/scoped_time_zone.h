#pragma once
// The process's local time zone set through TZ for one scope, then put back.
// The Windows C runtime reads only the "CST-8" form of TZ, so there the few
// zone names the tests use are given in that form. Its summer time follows
// US dates (and Wine's none), so Berlin is given as its summer offset: the
// tests read Berlin in July only. Zone names are three letters there.
#include <stdlib.h>
#include <time.h>

#include <cstring>
#include <optional>
#include <string>

namespace test {

inline void set_environment(const char* name, const char* value) {
#if defined(_WIN32)
    ::_putenv_s(name, value != nullptr ? value : "");
#else
    value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
#endif
}

inline void set_time_zone(const char* zone) {
#if defined(_WIN32)
    static const std::pair<const char*, const char*> kRuntimeForms[] = {
        {"Asia/Shanghai", "CST-8"},
        {"UTC", "UTC0"},
        {"America/St_Johns", "NST3:30"},
        {"Europe/Berlin", "CES-2"}};
    for (const auto& [name, form] : kRuntimeForms) {
        if (zone != nullptr && std::strcmp(zone, name) == 0)
            zone = form;
    }
    set_environment("TZ", zone);
    ::_tzset();
#else
    set_environment("TZ", zone);
    ::tzset();
#endif
}

class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* was = ::getenv("TZ"); was != nullptr && *was != '\0')
            previous_ = was;
        set_time_zone(zone);
    }
    ~ScopedTimeZone() { set_time_zone(previous_ ? previous_->c_str() : nullptr); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    std::optional<std::string> previous_;
};

}  // namespace test
