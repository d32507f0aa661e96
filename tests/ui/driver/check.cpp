#include "check.h"

#include <cstdio>

namespace {

int gFailures = 0;

}  // namespace

bool Check(bool ok, const std::string& what) {
    if (!ok) {
        gFailures++;
    }
    printf("%s %s\n", ok ? "  ok  " : "  FAIL", what.c_str());
    fflush(stdout);
    return ok;
}

bool CheckText(const std::string& actual, const std::string& expected, const std::string& what) {
    bool same = actual == expected;
    std::string line = what + ": \"" + Printable(actual) + "\"";
    if (!same) {
        line += ", expected \"" + Printable(expected) + "\"";
    }
    return Check(same, line);
}

int FailureCount() {
    return gFailures;
}

std::string Printable(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c < 0x20) {
            char escaped[8];
            snprintf(escaped, sizeof(escaped), "\\x%02X", c);
            shown += escaped;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}
