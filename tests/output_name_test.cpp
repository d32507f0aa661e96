#include <gtest/gtest.h>

#include <ctime>
#include <regex>

#include "settings_layout.h"
#include "utc_clock.h"

using namespace settings;

namespace {

struct NameCase {
    UtcTime time;
    const char* name;
};

TEST(OutputName, FieldsAreZeroPaddedInOrder) {
    const NameCase cases[] = {
        {{2026, 12, 11, 9, 5, 3, 7}, "Settings_2C050000_2026-12-11_09.05.03.007.BIN"},
        {{2027, 1, 1, 0, 0, 0, 0}, "Settings_2C050000_2027-01-01_00.00.00.000.BIN"},
        {{1999, 12, 31, 23, 59, 59, 999}, "Settings_2C050000_1999-12-31_23.59.59.999.BIN"},
        {{2024, 2, 29, 12, 30, 45, 50}, "Settings_2C050000_2024-02-29_12.30.45.050.BIN"},
        {{987, 3, 4, 5, 6, 7, 8}, "Settings_2C050000_0987-03-04_05.06.07.008.BIN"},
    };
    for (const NameCase& c : cases) {
        std::string name = MakeOutputFileName(c.time);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(name.size(), 45u) << name;
    }
}

TEST(OutputName, ClockReadingsBecomeUtcFields) {
    struct ClockCase {
        UtcMilliseconds sinceEpoch;
        UtcTime time;
    };
    const ClockCase cases[] = {
        {0, {1970, 1, 1, 0, 0, 0, 0}},
        {951782400000, {2000, 2, 29, 0, 0, 0, 0}},             // leap day of a century year
        {1709210096789, {2024, 2, 29, 12, 34, 56, 789}},
        {1798761599999, {2026, 12, 31, 23, 59, 59, 999}},      // last millisecond of a year
        {1798761600000, {2027, 1, 1, 0, 0, 0, 0}},
        {4102444800001, {2100, 1, 1, 0, 0, 0, 1}},             // 2100 is not a leap year
    };
    for (const ClockCase& c : cases) {
        EXPECT_EQ(MakeOutputFileName(UtcTimeFromMilliseconds(c.sinceEpoch)),
                  MakeOutputFileName(c.time))
            << c.sinceEpoch;
        EXPECT_EQ(MillisecondsFromUtcTime(c.time), c.sinceEpoch);
    }
}

TEST(OutputName, MillisecondsApartGiveDifferentNames) {
    UtcMilliseconds t = 1765443600123;
    EXPECT_NE(MakeOutputFileName(UtcTimeFromMilliseconds(t)),
              MakeOutputFileName(UtcTimeFromMilliseconds(t + 1)));
}

TEST(OutputName, SystemClockGivesTodaysUtcName) {
    UtcMilliseconds before = ReadSystemUtcClock();
    UtcTime now = UtcTimeFromMilliseconds(before);
    std::string name = MakeOutputFileName(now);
    EXPECT_TRUE(std::regex_match(
        name, std::regex(R"(Settings_2C050000_\d{4}-\d\d-\d\d_\d\d\.\d\d\.\d\d\.\d{3}\.BIN)")))
        << name;
    // A clock that is not UTC milliseconds since 1970 lands far outside these bounds.
    EXPECT_GE(now.year, 2024);
    EXPECT_LE(now.year, 2100);
    EXPECT_GE(ReadSystemUtcClock(), before);

    // The C library's own UTC breakdown of the same moment, to a few seconds: a local-time
    // reading would be off by the zone's offset (tests run with TZ far from UTC).
    std::time_t seconds = std::time(nullptr);
    std::tm utc = *std::gmtime(&seconds);
    UtcTime fromLibrary = {static_cast<uint16_t>(utc.tm_year + 1900),
                           static_cast<uint16_t>(utc.tm_mon + 1),
                           static_cast<uint16_t>(utc.tm_mday),
                           static_cast<uint16_t>(utc.tm_hour),
                           static_cast<uint16_t>(utc.tm_min),
                           static_cast<uint16_t>(utc.tm_sec),
                           0};
    EXPECT_NEAR(static_cast<double>(MillisecondsFromUtcTime(fromLibrary)),
                static_cast<double>(before), 5000.0);
}

}  // namespace
