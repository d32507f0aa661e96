// settings-convert: the converter for batch use and for systems without the dialog.
//
//   settings-convert [--check] [--output-dir DIR] FILE...
//
// Exit status: 0 when every FILE succeeded, 1 when any failed, 2 for a usage error.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "settings_converter.h"
#include "signal_guard.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: settings-convert [--check] [--output-dir DIR] FILE...\n"
    "Converts each Channel-Settings FILE (signature 2C 01 00 00) into a new file\n"
    "Settings_2C050000_<UTC time>.BIN in the working directory or DIR, and prints\n"
    "the path of each file written. FILE itself is never changed.\n"
    "\n"
    "  --check            only report whether each FILE can be converted\n"
    "  --output-dir DIR   write the converted files into DIR\n"
    "  --help             show this help\n"
    "  --version          show the version\n";

struct Options {
    bool checkOnly = false;
    bool showHelp = false;
    bool showVersion = false;
    std::string outputDirectory;
    std::vector<std::string> files;
};

// Returns false, after saying why on stderr, when the arguments make no sense.
bool ParseArguments(int argc, char** argv, Options* options) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        if (optionsEnded || arg[0] != '-' || strcmp(arg, "-") == 0) {
            options->files.push_back(arg);
        } else if (strcmp(arg, "--") == 0) {
            optionsEnded = true;
        } else if (strcmp(arg, "--check") == 0) {
            options->checkOnly = true;
        } else if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            options->showHelp = true;
        } else if (strcmp(arg, "--version") == 0) {
            options->showVersion = true;
        } else if (strcmp(arg, "--output-dir") == 0) {
            if (i + 1 >= argc) {
                fprintf(stderr, "settings-convert: --output-dir needs a directory\n");
                return false;
            }
            options->outputDirectory = argv[++i];
        } else if (strncmp(arg, "--output-dir=", 13) == 0) {
            options->outputDirectory = arg + 13;
        } else {
            fprintf(stderr, "settings-convert: unknown option '%s'\n", arg);
            return false;
        }
    }
    if (options->files.empty() && !options->showHelp && !options->showVersion) {
        fprintf(stderr, "settings-convert: no FILE given\n");
        return false;
    }
    return true;
}

bool CheckFile(settings::SettingsConverter& converter, const std::string& file) {
    std::string problem;
    switch (converter.CheckSettingsFile(file, &problem)) {
        case settings::CheckResult::Accepted:
            printf("%s: valid settings-file\n", file.c_str());
            return true;
        case settings::CheckResult::Rejected:
            fprintf(stderr, "%s: not a valid settings-file: %s\n", file.c_str(), problem.c_str());
            return false;
        case settings::CheckResult::NothingDone:
            break;
    }
    fprintf(stderr, "%s: cannot read the settings-file: %s\n", file.c_str(), problem.c_str());
    return false;
}

bool ConvertFile(settings::SettingsConverter& converter, const std::string& file) {
    settings::ConvertResult result = converter.ConvertSettingsFile(file);
    if (result.status == settings::ConvertStatus::Converted) {
        printf("%s\n", result.outputPath.c_str());
        return true;
    }
    fprintf(stderr, "%s: %s: %s\n", file.c_str(), settings::ConvertStatusText(result.status),
            result.problem.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArguments(argc, argv, &options)) {
        fputs(kUsage, stderr);
        return kExitUsage;
    }
    if (options.showHelp) {
        fputs(kUsage, stdout);
        return kExitSuccess;
    }
    if (options.showVersion) {
        puts("settings-convert 1.00");
        return kExitSuccess;
    }

    IgnoreFileSizeSignal();
    settings::SettingsConverter converter;
    converter.SetOutputDirectory(options.outputDirectory);
    bool allSucceeded = true;
    for (const std::string& file : options.files) {
        // An interrupt waits until this file is written and reported.
        InterruptDeferral deferral;
        bool succeeded = options.checkOnly ? CheckFile(converter, file) : ConvertFile(converter, file);
        // Keep stdout and stderr lines in order when both go to one place.
        fflush(stdout);
        allSucceeded = allSucceeded && succeeded;
    }
    if (fflush(stdout) != 0 || ferror(stdout)) {
        fprintf(stderr, "settings-convert: cannot write to standard output\n");
        return kExitFailure;
    }
    return allSucceeded ? kExitSuccess : kExitFailure;
}
