#include "signal_guard.h"

#include <csignal>

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}
