// Paths longer than the dialog's old fixed buffers (255 bytes for the chooser, 254 and
// 284 characters read from the field) are used whole.
#include <windows.h>

#include <string>

#include "app_session.h"
#include "case_steps.h"
#include "cases.h"
#include "check.h"
#include "resource.h"
#include "test_files.h"

namespace {

constexpr size_t kChosenPathLength = 258;  // still within MAX_PATH, past 255
constexpr size_t kTypedPathLength = 300;   // past 284
constexpr size_t kComponentLength = 90;

// A file path of exactly `length` characters below `directory`, its folders created.
std::string MakeLongPath(const std::string& directory, size_t length, char fill) {
    std::string path = directory;
    const std::string name = "settings.bin";
    while (path.size() + 1 + kComponentLength + 1 + name.size() < length) {
        path = JoinPath(path, std::string(kComponentLength, fill));
        MakeDirectory(path);
    }
    size_t padding = length - path.size() - 1 - name.size();
    return JoinPath(path, std::string(padding, fill) + name);
}

}  // namespace

void RunLongPathsCase(const CaseContext& context) {
    std::string start = JoinPath(context.caseDir, "start");
    MakeDirectory(start);
    std::string chosen = MakeLongPath(context.caseDir, kChosenPathLength, 'c');
    std::string typed = MakeLongPath(context.caseDir, kTypedPathLength, 't');
    std::string chosenBytes = MakeConvertibleBytes(11);
    std::string typedBytes = MakeConvertibleBytes(12);
    Check(chosen.size() == kChosenPathLength && WriteFileBytes(chosen, chosenBytes),
          "a file with a path of " + std::to_string(chosen.size()) + " characters");
    Check(typed.size() == kTypedPathLength && WriteFileBytes(typed, typedBytes),
          "a file with a path of " + std::to_string(typed.size()) + " characters");

    AppSession app(context.program, start);
    if (!Check(app.Start(), "the dialog appears")) {
        return;
    }
    BrowseAndPick(app, chosen);
    CheckText(app.ItemText(IDC_SETTINGS_PATH), chosen, "the chooser gives the whole path");
    Check(app.IsItemEnabled(IDC_CONVERT), "the chosen file is accepted");
    ConvertAndCheckOutput(app, start, chosenBytes, "chosen long path");

    Check(TypeAndAccept(app, typed), "a typed path of 300 characters is checked whole");
    ConvertAndCheckOutput(app, start, typedBytes, "typed long path");
}
