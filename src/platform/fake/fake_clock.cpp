#include "platform/fake/fake_clock.h"

namespace platform {
namespace {

struct Date {
    std::int64_t year;
    unsigned month;  // 1-12
    unsigned day;    // 1-31
};

// The proleptic Gregorian date of a day counted from 1970-01-01.
Date CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto day_of_era = static_cast<unsigned>(days - era * 146097);
    const unsigned year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const unsigned day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const unsigned mp = (5 * day_of_year + 2) / 153;
    const unsigned day = day_of_year - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(year_of_era) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace

std::uint32_t FakeClock::LocalDosDateTime(std::int64_t file_time) const {
    constexpr std::int64_t kTicksPerSecond = 10000000;
    constexpr std::int64_t kSeconds1601To1970 = 11644473600;
    const std::int64_t seconds =
        file_time / kTicksPerSecond - kSeconds1601To1970 + std::int64_t{time_zone_minutes} * 60;
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const std::int64_t in_day = seconds - days * 86400;
    const Date date = CivilFromDays(days);
    if (date.year < 1980 || date.year > 2107)
        return 0;
    const auto dos_date =
        static_cast<std::uint32_t>(((date.year - 1980) << 9) | (date.month << 5) | date.day);
    const auto dos_time = static_cast<std::uint32_t>(((in_day / 3600) << 11) |
                                                     ((in_day / 60 % 60) << 5) | (in_day % 60 / 2));
    return (dos_date << 16) | dos_time;
}

}  // namespace platform
