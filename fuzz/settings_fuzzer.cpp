// libFuzzer target: every input is the whole content of a settings file. Checks and
// converts it for real, through files, and holds the converter to its promises rather
// than only to "no crash":
//   - the check accepts exactly the files with 2C 01 00 00 at bytes 6..9 and at least
//     8026 bytes, and rejects every other file;
//   - a conversion writes exactly the target layout of N + 24760 bytes, or no file;
//   - a second conversion in the same millisecond takes the next millisecond's name and
//     leaves the first file as it was;
//   - the source is never changed.
// A broken promise aborts with a message, which libFuzzer reports as a crash.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "settings_converter.h"
#include "settings_layout.h"

namespace {

// 2024-02-29 23:59:59.999 UTC: the millisecond after it changes every field of the name.
constexpr settings::UtcMilliseconds kFixedTime = 1709251199999;
const char kFirstName[] = "Settings_2C050000_2024-02-29_23.59.59.999.BIN";
const char kSecondName[] = "Settings_2C050000_2024-03-01_00.00.00.000.BIN";

std::string gWorkDirectory;
std::string gSourcePath;
std::string gOutputDirectory;

[[noreturn]] void Fail(const char* promise) {
    fprintf(stderr, "settings-fuzzer: broken promise: %s\n", promise);
    abort();
}

void Require(bool holds, const char* promise) {
    if (!holds) {
        Fail(promise);
    }
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    bytes->clear();
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    bool readAll = !ferror(file);
    fclose(file);
    return readAll;
}

void WriteWholeFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = fopen(path.c_str(), "wb");
    Require(file != nullptr, "the fuzzer can create its source file");
    bool written = size == 0 || fwrite(data, 1, size, file) == size;
    Require(fclose(file) == 0 && written, "the fuzzer can write its source file");
}

std::vector<std::string> ListDirectory(const std::string& path) {
    std::vector<std::string> names;
    DIR* directory = opendir(path.c_str());
    Require(directory != nullptr, "the fuzzer can list its output directory");
    while (const dirent* entry = readdir(directory)) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) {
            names.push_back(entry->d_name);
        }
    }
    closedir(directory);
    return names;
}

void EmptyOutputDirectory() {
    for (const std::string& name : ListDirectory(gOutputDirectory)) {
        unlink((gOutputDirectory + "/" + name).c_str());
    }
}

bool IsConvertible(const uint8_t* data, size_t size) {
    return size >= 8026 && data[6] == 0x2C && data[7] == 0x01 && data[8] == 0x00 &&
           data[9] == 0x00;
}

bool AllZero(const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; i++) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

// Compares the converted file with the target layout made from `source`, region by region.
void RequireTargetLayout(const std::string& path, const uint8_t* source, size_t size) {
    std::vector<uint8_t> target;
    Require(ReadWholeFile(path, &target), "the converted file can be read back");
    Require(target.size() == size + 24760, "the converted file has N + 24760 bytes");
    const uint8_t* out = target.data();
    Require(memcmp(out, source, 7) == 0 && memcmp(out + 8, source + 8, 8) == 0,
            "header bytes other than 7 are carried unchanged");
    Require(out[7] == 0x05, "header byte 7 becomes 0x05");
    Require(memcmp(out + 16, source + 16, 8010) == 0, "the leading block is copied");
    Require(AllZero(out + 8026, 24760), "the inserted block is 24760 zero bytes");
    Require(memcmp(out + 32786, source + 8026, size - 8026) == 0,
            "the trailing block is copied");
}

void RemoveWorkspace() {
    if (gWorkDirectory.empty()) {
        return;
    }
    EmptyOutputDirectory();
    rmdir(gOutputDirectory.c_str());
    unlink(gSourcePath.c_str());
    rmdir(gWorkDirectory.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Memory-backed when there is such a place: the fuzzer writes files on every run.
    struct stat info;
    std::string base = stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/settings-fuzzer.XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    Require(mkdtemp(name.data()) != nullptr, "the fuzzer can make its work directory");
    gWorkDirectory = name.data();
    gSourcePath = gWorkDirectory + "/source with space.bin";
    gOutputDirectory = gWorkDirectory + "/out";
    Require(mkdir(gOutputDirectory.c_str(), 0700) == 0, "the fuzzer can make its output directory");
    atexit(RemoveWorkspace);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteWholeFile(gSourcePath, data, size);
    bool convertible = IsConvertible(data, size);

    settings::SettingsConverter converter([] { return kFixedTime; });
    converter.SetOutputDirectory(gOutputDirectory);

    std::string problem;
    settings::CheckResult check = converter.CheckSettingsFile(gSourcePath, &problem);
    Require(check == (convertible ? settings::CheckResult::Accepted : settings::CheckResult::Rejected),
            "the check accepts exactly the convertible files and rejects the rest");
    Require(problem.empty() == convertible, "a problem is given exactly when not accepted");
    Require(ListDirectory(gOutputDirectory).empty(), "a check creates no file");

    settings::ConvertResult first = converter.ConvertSettingsFile(gSourcePath);
    if (!convertible) {
        Require(first.status == settings::ConvertStatus::NotValid,
                "an inconvertible file is reported as not valid");
        Require(first.outputPath.empty() && !first.problem.empty(),
                "a failure names no output and says why");
        Require(ListDirectory(gOutputDirectory).empty(), "a failed conversion leaves no file");
    } else {
        Require(first.status == settings::ConvertStatus::Converted, "a convertible file converts");
        Require(first.outputPath == gOutputDirectory + "/" + kFirstName,
                "the output is named after the clock");
        RequireTargetLayout(first.outputPath, data, size);

        converter.CloseSettingsFiles();
        settings::ConvertResult second = converter.ConvertSettingsFile(gSourcePath);
        Require(second.status == settings::ConvertStatus::Converted,
                "a second conversion in the same millisecond converts");
        Require(second.outputPath == gOutputDirectory + "/" + kSecondName,
                "a taken name moves on to the next millisecond");
        RequireTargetLayout(second.outputPath, data, size);
        RequireTargetLayout(first.outputPath, data, size);
        Require(ListDirectory(gOutputDirectory).size() == 2, "two conversions leave two files");
    }

    std::vector<uint8_t> after;
    Require(ReadWholeFile(gSourcePath, &after), "the source can still be read");
    Require(after.size() == size && (size == 0 || memcmp(after.data(), data, size) == 0),
            "the source is unchanged");

    EmptyOutputDirectory();
    return 0;
}
