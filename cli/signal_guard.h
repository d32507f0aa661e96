// Keeps signals from cutting a converted file short. The converter removes an output it
// could not finish, but only if it is still running: a signal whose default action ends
// the process would leave the part already written under a converted file's name.
#pragma once

#include <csignal>

// After this, a file-size limit (ulimit -f) makes the write fail with EFBIG, which the
// converter reports and cleans up after, instead of ending the program mid-file.
// Nothing to do where there is no SIGXFSZ.
void IgnoreFileSizeSignal();

// While one exists, the signals that end the program from outside are held back (SIGINT,
// SIGTERM, SIGHUP, SIGQUIT; on Windows Ctrl-C and Ctrl-Break); one that came meanwhile
// takes effect when it goes, so the program ends between two files, never inside one. A
// file takes as long as one read and one write of it.
class InterruptDeferral {
  public:
    InterruptDeferral();
    ~InterruptDeferral();
    InterruptDeferral(const InterruptDeferral&) = delete;
    InterruptDeferral& operator=(const InterruptDeferral&) = delete;

  private:
#ifdef _WIN32
    using SignalHandler = void (*)(int);
    SignalHandler previousInterrupt;
    SignalHandler previousBreak;
#else
    sigset_t previousMask;
#endif
};
