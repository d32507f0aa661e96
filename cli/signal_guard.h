// Keeps signals from cutting a converted file short. The converter removes an output it
// could not finish, but only if it is still running: a signal whose default action ends
// the process would leave the part already written under a converted file's name.
#pragma once

// After this, a file-size limit (ulimit -f) makes the write fail with EFBIG, which the
// converter reports and cleans up after, instead of ending the program mid-file.
// Nothing to do where there is no SIGXFSZ.
void IgnoreFileSizeSignal();
