#include "utc_clock.h"

#include <chrono>

#include "settings_layout.h"

namespace settings {

namespace {

constexpr int64_t kMillisecondsPerDay = 86400000;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, int64_t* year, int64_t* month, int64_t* day) {
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    *day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    *month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    *year = yearOfEra + era * 400 + (*month <= 2);
}

}  // namespace

UtcMilliseconds ReadSystemUtcClock() {
    auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count();
}

UtcTime UtcTimeFromMilliseconds(UtcMilliseconds sinceEpoch) {
    int64_t days = sinceEpoch / kMillisecondsPerDay;
    int64_t inDay = sinceEpoch % kMillisecondsPerDay;
    if (inDay < 0) {
        inDay += kMillisecondsPerDay;
        days--;
    }
    int64_t year, month, day;
    CivilFromDays(days, &year, &month, &day);
    UtcTime time;
    time.year = static_cast<uint16_t>(year);
    time.month = static_cast<uint16_t>(month);
    time.day = static_cast<uint16_t>(day);
    time.hour = static_cast<uint16_t>(inDay / 3600000);
    time.minute = static_cast<uint16_t>(inDay / 60000 % 60);
    time.second = static_cast<uint16_t>(inDay / 1000 % 60);
    time.millisecond = static_cast<uint16_t>(inDay % 1000);
    return time;
}

UtcMilliseconds MillisecondsFromUtcTime(const UtcTime& time) {
    int64_t days = DaysFromCivil(time.year, time.month, time.day);
    return days * kMillisecondsPerDay + time.hour * int64_t{3600000} +
           time.minute * int64_t{60000} + time.second * int64_t{1000} + time.millisecond;
}

std::string MakeOutputFileName(const UtcTime& time) {
    return MakeOutputFileName(time.year, time.month, time.day, time.hour, time.minute,
                              time.second, time.millisecond);
}

}  // namespace settings
