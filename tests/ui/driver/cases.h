// The end-to-end cases; each runs the real program from a fresh directory of its own.
#pragma once

#include <string>

struct CaseContext {
    std::string program;  // SettingsConverter.exe, as a Windows path
    std::string caseDir;  // a new, empty directory for this case
};

void RunResourcesCase(const CaseContext& context);
void RunStartStateCase(const CaseContext& context);
void RunExitCase(const CaseContext& context);
void RunEnterKeyCase(const CaseContext& context);
void RunChooserOtherDirCase(const CaseContext& context);
void RunChooserCancelledCase(const CaseContext& context);
void RunRejectedCase(const CaseContext& context);
void RunConvertFailuresCase(const CaseContext& context);
void RunCannotWriteCase(const CaseContext& context);
void RunLongPathsCase(const CaseContext& context);
