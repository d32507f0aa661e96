#include "signal_guard.h"

#include <csignal>

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

#ifdef _WIN32

namespace {

// Windows has no signal mask: the C runtime calls the handler (from another thread, for
// a console event), so the handler only notes the signal for later.
volatile std::sig_atomic_t gDeferredSignal = 0;

void NoteSignal(int signalNumber) {
    gDeferredSignal = signalNumber;
    // The runtime resets a handler to the default once it has run.
    std::signal(signalNumber, NoteSignal);
}

}  // namespace

InterruptDeferral::InterruptDeferral()
    : previousInterrupt(std::signal(SIGINT, NoteSignal)),
      previousBreak(std::signal(SIGBREAK, NoteSignal)) {}

InterruptDeferral::~InterruptDeferral() {
    std::signal(SIGINT, previousInterrupt);
    std::signal(SIGBREAK, previousBreak);
    int deferred = gDeferredSignal;
    gDeferredSignal = 0;
    if (deferred != 0) {
        std::raise(deferred);
    }
}

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
