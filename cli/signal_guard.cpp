#include "signal_guard.h"

#include <csignal>

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

#ifdef _WIN32

InterruptDeferral::InterruptDeferral() {}

InterruptDeferral::~InterruptDeferral() {}

#else

InterruptDeferral::InterruptDeferral() {
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGHUP);
    sigaddset(&ending, SIGQUIT);
    sigprocmask(SIG_BLOCK, &ending, &previousMask);
}

InterruptDeferral::~InterruptDeferral() {
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
}

#endif
