// ui-driver: runs one end-to-end case against SettingsConverter.exe.
//
//   ui-driver CASE PROGRAM CASE_DIR
//
// PROGRAM and CASE_DIR may be Unix paths (under Wine's Z: drive). Exit status: 0 when
// every check passed, 1 when any failed, 2 for a usage error.

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "cases.h"
#include "check.h"
#include "test_files.h"

namespace {

struct Case {
    const char* name;
    void (*run)(const CaseContext& context);
    const char* what;
};

const Case kCases[] = {
    {"resources", RunResourcesCase, "the program's resources are exactly the dialog and icon"},
    {"start_state", RunStartStateCase, "the dialog as it starts"},
    {"exits", RunExitCase, "Cancel, Escape, the close box and Alt+F4 end it with 0"},
    {"enter_key", RunEnterKeyCase, "Enter in the path field does nothing"},
    {"chooser_other_dir", RunChooserOtherDirCase, "a file chosen in another directory"},
    {"chooser_cancelled", RunChooserCancelledCase, "the chooser cancelled"},
    {"rejected", RunRejectedCase, "the box for a file that is not a settings-file"},
    {"convert_failures", RunConvertFailuresCase, "the boxes for a failed conversion"},
    {"cannot_write", RunCannotWriteCase, "the box when the converted file cannot be written"},
    {"long_paths", RunLongPathsCase, "long paths are used whole"},
};

// Under the zone the tests run in, local time must differ from UTC, or a file named after
// the local time would pass for a UTC name.
bool IsLocalTimeApartFromUtc() {
    TIME_ZONE_INFORMATION zone;
    DWORD kind = GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0);
    return kind != TIME_ZONE_ID_INVALID && bias != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: ui-driver CASE PROGRAM CASE_DIR\ncases:");
        for (const Case& c : kCases) {
            fprintf(stderr, " %s", c.name);
        }
        fprintf(stderr, "\n");
        return 2;
    }
    const Case* chosen = nullptr;
    for (const Case& c : kCases) {
        if (strcmp(c.name, argv[1]) == 0) {
            chosen = &c;
        }
    }
    if (!chosen) {
        fprintf(stderr, "ui-driver: unknown case '%s'\n", argv[1]);
        return 2;
    }
    CaseContext context;
    context.program = WindowsPath(argv[2]);
    context.caseDir = WindowsPath(argv[3]);
    printf("%s: %s\n", chosen->name, chosen->what);
    Check(IsLocalTimeApartFromUtc(), "local time is not UTC here (TZ is set far from UTC)");
    // The chooser remembers the last folder per program; each case starts without it.
    RegDeleteTreeA(HKEY_CURRENT_USER,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32");
    chosen->run(context);
    int failures = FailureCount();
    printf("%s: %s\n", chosen->name, failures == 0 ? "passed" : "FAILED");
    return failures == 0 ? 0 : 1;
}
