// "Convert" that cannot succeed: the box that says why, and a retry that then works.
#include <windows.h>

#include <string>

#include "app_session.h"
#include "case_steps.h"
#include "cases.h"
#include "check.h"
#include "resource.h"
#include "test_files.h"

namespace {

struct Paths {
    std::string source;
    std::string notValid;
};

struct Spoiler {
    const char* what;
    const char* expectedText;
    // Spoils the conversion after an accepted check; returns the field's text to expect.
    std::string (*spoil)(AppSession& app, const Paths& paths, HANDLE* held);
    // Puts things right again, so that the next "Convert" succeeds.
    void (*repair)(AppSession& app, const Paths& paths, HANDLE* held);
};

const Spoiler kSpoilers[] = {
    {"the source deleted after the check", kCannotReadText,
     [](AppSession&, const Paths& paths, HANDLE*) {
         DeleteFileA(paths.source.c_str());
         return paths.source;
     },
     [](AppSession&, const Paths& paths, HANDLE*) {
         WriteFileBytes(paths.source, MakeConvertibleBytes(7));
     }},
    {"a not-valid file typed after the check", kNotValidText,
     [](AppSession& app, const Paths& paths, HANDLE*) {
         app.SetItemText(IDC_SETTINGS_PATH, paths.notValid);
         return paths.notValid;
     },
     [](AppSession& app, const Paths& paths, HANDLE*) {
         app.SetItemText(IDC_SETTINGS_PATH, paths.source);
     }},
    {"the field emptied after the check", kCannotReadText,
     [](AppSession& app, const Paths&, HANDLE*) {
         app.SetItemText(IDC_SETTINGS_PATH, "");
         return std::string();
     },
     [](AppSession& app, const Paths& paths, HANDLE*) {
         app.SetItemText(IDC_SETTINGS_PATH, paths.source);
     }},
    {"the source held open by another program without sharing", kCannotReadText,
     [](AppSession&, const Paths& paths, HANDLE* held) {
         *held = CreateFileA(paths.source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
         Check(*held != INVALID_HANDLE_VALUE, "the test holds the source open");
         return paths.source;
     },
     [](AppSession&, const Paths&, HANDLE* held) {
         CloseHandle(*held);
         *held = INVALID_HANDLE_VALUE;
     }},
};

}  // namespace

void RunConvertFailuresCase(const CaseContext& context) {
    int run = 0;
    for (const Spoiler& spoiler : kSpoilers) {
        std::string what = spoiler.what;
        std::string directory = JoinPath(context.caseDir, "run" + std::to_string(run++));
        MakeDirectory(directory);
        Paths paths;
        paths.source = JoinPath(directory, "source.bin");
        paths.notValid = JoinPath(directory, "not-valid.bin");
        WriteFileBytes(paths.source, MakeConvertibleBytes(7));
        const unsigned char kConverted[4] = {0x2C, 0x05, 0x00, 0x00};
        WriteFileBytes(paths.notValid, MakeSettingsBytes(kConvertibleSize, kConverted, 8));
        AppSession app(context.program, directory);
        if (!Check(app.Start(), what + ": the dialog appears")) {
            continue;
        }
        if (!Check(TypeAndAccept(app, paths.source), what + ": the source is accepted")) {
            continue;
        }
        HANDLE held = INVALID_HANDLE_VALUE;
        std::string fieldText = spoiler.spoil(app, paths, &held);
        size_t filesSpoiled = ListFiles(directory).size();
        app.ClickItem(IDC_CONVERT);
        CheckErrorBox(app, kConvertCaption, spoiler.expectedText, what);
        CheckText(app.ItemText(IDC_SETTINGS_PATH), fieldText, what + ": the field keeps its text");
        Check(app.IsItemEnabled(IDC_CONVERT), what + ": \"Convert\" stays enabled");
        CheckNoOutput(directory, filesSpoiled, what);

        spoiler.repair(app, paths, &held);
        ConvertAndCheckOutput(app, directory, MakeConvertibleBytes(7),
                              what + ", then put right: retried");
    }
}

void RunCannotWriteCase(const CaseContext& context) {
    // The harness mounts both: "readonly" refuses every new file, "full" has room for
    // less than one converted file.
    const char* const kDirectories[][2] = {
        {"readonly", "a read-only working directory"},
        {"full", "a working directory on a full disk"},
    };
    std::string bytes = MakeConvertibleBytes(9);
    std::string source = JoinPath(context.caseDir, "source.bin");
    WriteFileBytes(source, bytes);
    for (const auto& entry : kDirectories) {
        std::string directory = JoinPath(context.caseDir, entry[0]);
        std::string what = entry[1];
        size_t filesBefore = ListFiles(directory).size();
        AppSession app(context.program, directory);
        if (!Check(app.Start(), what + ": the dialog appears")) {
            continue;
        }
        Check(TypeAndAccept(app, source), what + ": the source is accepted");
        app.ClickItem(IDC_CONVERT);
        CheckErrorBox(app, kConvertCaption, kCannotWriteText, what);
        CheckText(app.ItemText(IDC_SETTINGS_PATH), source, what + ": the field keeps its text");
        Check(app.IsItemEnabled(IDC_CONVERT), what + ": \"Convert\" stays enabled");
        CheckNoOutput(directory, filesBefore, what + ": nothing, not even a partial file,");
    }
}
