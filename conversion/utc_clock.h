// UTC wall-clock readings with millisecond resolution, as plain arithmetic so the
// conversion code needs no platform time functions beyond std::chrono.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace settings {

struct UtcTime {
    uint16_t year;
    uint16_t month;  // 1..12
    uint16_t day;    // 1..31
    uint16_t hour;   // 0..23
    uint16_t minute;
    uint16_t second;
    uint16_t millisecond;
};

// Milliseconds since 1970-01-01 00:00:00 UTC.
using UtcMilliseconds = int64_t;

// Where the converter reads the time; tests substitute their own.
using UtcClock = std::function<UtcMilliseconds()>;

UtcMilliseconds ReadSystemUtcClock();

// Valid for 1970-01-01 up to the end of year 9999.
UtcTime UtcTimeFromMilliseconds(UtcMilliseconds sinceEpoch);
UtcMilliseconds MillisecondsFromUtcTime(const UtcTime& time);

std::string MakeOutputFileName(const UtcTime& time);

}  // namespace settings
