// run-limited: runs a program under exact resource limits, for the fault-injection
// tests. The shell's ulimit counts file sizes in blocks; these tests need byte-exact
// limits. --file-size ignores SIGXFSZ, so that a write past the limit fails with EFBIG;
// --file-size-signalled leaves SIGXFSZ to its default action, which ends the program,
// as it is after a user's own ulimit -f.
//
//   run-limited [--file-size[-signalled] BYTES] [--address-space BYTES] -- PROGRAM [ARG...]

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool ParseBytes(const char* text, rlim_t* bytes) {
    char* end = nullptr;
    errno = 0;
    unsigned long long value = strtoull(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || text[0] == '-') {
        return false;
    }
    *bytes = static_cast<rlim_t>(value);
    return true;
}

bool SetLimit(int resource, rlim_t bytes, const char* name) {
    struct rlimit limit = {bytes, bytes};
    if (setrlimit(resource, &limit) != 0) {
        fprintf(stderr, "run-limited: cannot set %s to %llu: %s\n", name,
                static_cast<unsigned long long>(bytes), strerror(errno));
        return false;
    }
    return true;
}

int Usage() {
    fputs("usage: run-limited [--file-size[-signalled] BYTES] [--address-space BYTES] -- "
          "PROGRAM [ARG...]\n",
          stderr);
    return 125;
}

}  // namespace

int main(int argc, char** argv) {
    int i = 1;
    for (; i < argc && strcmp(argv[i], "--") != 0; i += 2) {
        rlim_t bytes = 0;
        if (i + 1 >= argc || !ParseBytes(argv[i + 1], &bytes)) {
            return Usage();
        }
        bool signalled = strcmp(argv[i], "--file-size-signalled") == 0;
        if (signalled || strcmp(argv[i], "--file-size") == 0) {
            // The disposition, ignored or default, stays across exec.
            signal(SIGXFSZ, signalled ? SIG_DFL : SIG_IGN);
            if (!SetLimit(RLIMIT_FSIZE, bytes, "the file-size limit")) {
                return 125;
            }
        } else if (strcmp(argv[i], "--address-space") == 0) {
            if (!SetLimit(RLIMIT_AS, bytes, "the address-space limit")) {
                return 125;
            }
        } else {
            return Usage();
        }
    }
    if (i + 1 >= argc) {
        return Usage();
    }
    execvp(argv[i + 1], argv + i + 1);
    fprintf(stderr, "run-limited: cannot run %s: %s\n", argv[i + 1], strerror(errno));
    return 127;
}
