// Checks settings files and writes their converted copies. Knows nothing of windows:
// it takes paths, reads the UTC clock and answers with results the caller presents.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "settings_layout.h"
#include "utc_clock.h"

namespace settings {

enum class CheckResult {
    NothingDone,  // no path, or the file cannot be opened or read
    Accepted,     // signature 2C 01 00 00 and at least 8026 bytes
    Rejected,     // any other file
};

enum class ConvertStatus {
    Converted,
    NotValid,     // the source is not a convertible settings file
    CannotRead,   // no path, missing or unreadable source, short read, memory short
    CannotWrite,  // the output cannot be created, or a write, flush or close failed
};

struct ConvertResult {
    ConvertStatus status = ConvertStatus::CannotRead;
    // The file written (output directory joined with the name); empty unless Converted.
    std::string outputPath;
    // Why it failed, for people: "No space left on device", ...; empty when Converted.
    std::string problem;
};

class SettingsConverter {
  public:
    SettingsConverter();
    explicit SettingsConverter(UtcClock clock);
    ~SettingsConverter();
    SettingsConverter(const SettingsConverter&) = delete;
    SettingsConverter& operator=(const SettingsConverter&) = delete;

    // Where converted files go; empty (the default) is the current working directory.
    void SetOutputDirectory(const std::string& directory);

    // Reads the file's header and size; the file is only read. `problem`, when given,
    // receives why the result is not Accepted.
    CheckResult CheckSettingsFile(const std::string& path, std::string* problem = nullptr);

    // Converts the file at `path` behind its own header into a new file named after the
    // UTC time. Leaves no output file behind unless it returns Converted.
    ConvertResult ConvertSettingsFile(const std::string& path);

    // Closes whatever stream is still open. Safe at any time, any number of times.
    void CloseSettingsFiles();

  private:
    // Opens `path` as the input and judges its header and size; *problem says why the
    // result is not Accepted. The input stays open for the caller to go on reading.
    CheckResult OpenAndCheckSource(const std::string& path, SettingsHeader* header,
                                   uint64_t* size, std::string* problem);
    ConvertResult ConvertCheckedSource(const SettingsHeader& header, uint64_t size);
    ConvertResult WriteConverted(const SettingsHeader& header, const unsigned char* body,
                                 size_t bodySize);
    FILE* CreateOutputFile(std::string* path, int* errorCode);

    UtcClock clock;
    std::string outputDirectory;
    FILE* input = nullptr;
    FILE* output = nullptr;
};

const char* ConvertStatusText(ConvertStatus status);

}  // namespace settings
