#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "signal_guard.h"

namespace {

// An interrupt that arrives while a file is being converted must wait until the file is
// done: the work inside the deferral finishes, then the interrupt ends the program.
void InterruptDuringDeferral(int signalNumber) {
    {
        InterruptDeferral deferral;
        std::raise(signalNumber);
        fprintf(stderr, "file finished before the interrupt\n");
        fflush(stderr);
    }
    fprintf(stderr, "went on after the interrupt\n");
    std::exit(0);
}

#ifdef _WIN32
// The C runtime's default action for SIGINT and SIGBREAK is to exit with code 3.
const auto kEndedByInterrupt = ::testing::ExitedWithCode(3);
const int kInterrupts[] = {SIGINT, SIGBREAK};
#else
const int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
#endif

TEST(InterruptDeferralDeathTest, InterruptTakesEffectOnlyAfterTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int signalNumber : kInterrupts) {
#ifdef _WIN32
        EXPECT_EXIT(InterruptDuringDeferral(signalNumber), kEndedByInterrupt,
                    "file finished before the interrupt\n$")
            << "signal " << signalNumber;
#else
        EXPECT_EXIT(InterruptDuringDeferral(signalNumber), ::testing::KilledBySignal(signalNumber),
                    "file finished before the interrupt\n$")
            << "signal " << signalNumber;
#endif
    }
}

}  // namespace
