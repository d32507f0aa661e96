#include "settings_converter.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "file_access.h"

namespace settings {

namespace {

// Bounds the search for a free output name; only reached when hundreds of names in a
// row are already taken.
constexpr int kMaxOutputNameAttempts = 1000;

const unsigned char kInsertedBlock[kInsertedBlockSize] = {};

struct FreeDeleter {
    void operator()(unsigned char* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<unsigned char[], FreeDeleter>;

std::string ErrorText(int errorCode, const char* fallback) {
    return errorCode != 0 ? SystemErrorText(errorCode) : fallback;
}

std::string HexBytes(const unsigned char* bytes, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < count; i++) {
        if (i > 0) {
            text += ' ';
        }
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

// Why a file with this header and size cannot be converted.
std::string DescribeInvalid(const SettingsHeader& header, size_t headerBytesRead, uint64_t size) {
    if (size < kMinSourceSize || headerBytesRead < kHeaderSize) {
        return "it has " + std::to_string(size) + " bytes, fewer than the " +
               std::to_string(kMinSourceSize) + " of a settings-file";
    }
    const unsigned char* signature = header.bytes + kSignatureOffset;
    const unsigned char kTargetSignature[kSignatureSize] = {0x2C, kTargetLayoutByte, 0x00, 0x00};
    if (std::memcmp(signature, kTargetSignature, kSignatureSize) == 0) {
        return "it is already converted (signature 2C 05 00 00)";
    }
    return "its signature is " + HexBytes(signature, kSignatureSize) + ", not 2C 01 00 00";
}

}  // namespace

SettingsConverter::SettingsConverter() : clock(ReadSystemUtcClock) {}

SettingsConverter::SettingsConverter(UtcClock clock) : clock(std::move(clock)) {}

SettingsConverter::~SettingsConverter() {
    CloseSettingsFiles();
}

void SettingsConverter::SetOutputDirectory(const std::string& directory) {
    outputDirectory = directory;
}

void SettingsConverter::CloseSettingsFiles() {
    if (input) {
        fclose(input);
        input = nullptr;
    }
    if (output) {
        fclose(output);
        output = nullptr;
    }
}

CheckResult SettingsConverter::OpenAndCheckSource(const std::string& path, SettingsHeader* header,
                                                  uint64_t* size, std::string* problem) {
    *header = {};
    *size = 0;
    if (path.empty()) {
        *problem = "no file given";
        return CheckResult::NothingDone;
    }
    input = OpenSourceFile(path, size, problem);
    if (!input) {
        return CheckResult::NothingDone;
    }
    errno = 0;
    size_t got = fread(header->bytes, 1, kHeaderSize, input);
    if (got < kHeaderSize && ferror(input)) {
        *problem = ErrorText(errno, "the file cannot be read");
        return CheckResult::NothingDone;
    }
    if (got < kHeaderSize || !IsConvertibleSource(*header, *size)) {
        *problem = DescribeInvalid(*header, got, *size);
        return CheckResult::Rejected;
    }
    problem->clear();
    return CheckResult::Accepted;
}

CheckResult SettingsConverter::CheckSettingsFile(const std::string& path, std::string* problem) {
    SettingsHeader header;
    uint64_t size;
    std::string why;
    CheckResult result = OpenAndCheckSource(path, &header, &size, &why);
    CloseSettingsFiles();
    if (problem) {
        *problem = why;
    }
    return result;
}

ConvertResult SettingsConverter::ConvertSettingsFile(const std::string& path) {
    ConvertResult result;
    SettingsHeader header;
    uint64_t size;
    switch (OpenAndCheckSource(path, &header, &size, &result.problem)) {
        case CheckResult::NothingDone:
            result.status = ConvertStatus::CannotRead;
            break;
        case CheckResult::Rejected:
            result.status = ConvertStatus::NotValid;
            break;
        case CheckResult::Accepted:
            result = ConvertCheckedSource(header, size);
            break;
    }
    CloseSettingsFiles();
    return result;
}

ConvertResult SettingsConverter::ConvertCheckedSource(const SettingsHeader& header, uint64_t size) {
    ConvertResult result;
    result.status = ConvertStatus::CannotRead;

    // The whole body in one buffer, read at once; a size the address space cannot
    // hold is refused rather than cut to fit.
    uint64_t bodySize64 = size - kHeaderSize;
    if (bodySize64 > static_cast<uint64_t>(PTRDIFF_MAX)) {
        result.problem = "it is too large to be held in memory";
        return result;
    }
    size_t bodySize = static_cast<size_t>(bodySize64);
    Buffer body(static_cast<unsigned char*>(std::malloc(bodySize)));
    if (!body) {
        result.problem = "there is not enough memory to read it";
        return result;
    }
    errno = 0;
    size_t got = fread(body.get(), 1, bodySize, input);
    if (got != bodySize) {
        result.problem = ferror(input) ? ErrorText(errno, "the file cannot be read")
                                       : "it became shorter while it was being read";
        return result;
    }
    if (fgetc(input) != EOF) {
        result.problem = "it became longer while it was being read";
        return result;
    }
    fclose(input);
    input = nullptr;

    SettingsHeader target = MakeTargetHeader(header);
    return WriteConverted(target, body.get(), bodySize);
}

ConvertResult SettingsConverter::WriteConverted(const SettingsHeader& header,
                                                const unsigned char* body, size_t bodySize) {
    ConvertResult result;
    result.status = ConvertStatus::CannotWrite;
    std::string path;
    int errorCode = 0;
    output = CreateOutputFile(&path, &errorCode);
    if (!output) {
        result.problem = ErrorText(errorCode, "the file cannot be created");
        return result;
    }

    struct Piece {
        const unsigned char* data;
        size_t size;
    };
    const Piece pieces[] = {
        {header.bytes, kHeaderSize},
        {body, kLeadingBlockSize},
        {kInsertedBlock, kInsertedBlockSize},
        {body + kLeadingBlockSize, bodySize - kLeadingBlockSize},
    };
    bool written = true;
    for (const Piece& piece : pieces) {
        errno = 0;
        if (fwrite(piece.data, 1, piece.size, output) != piece.size || fflush(output) != 0) {
            errorCode = errno;
            written = false;
            break;
        }
    }
    errno = 0;
    int closeFailed = fclose(output);
    output = nullptr;
    if (written && closeFailed) {
        errorCode = errno;
        written = false;
    }
    if (!written) {
        // The file is ours: it was created exclusively above.
        std::remove(path.c_str());
        result.problem = ErrorText(errorCode, "the file cannot be written");
        return result;
    }
    result.status = ConvertStatus::Converted;
    result.outputPath = path;
    return result;
}

FILE* SettingsConverter::CreateOutputFile(std::string* path, int* errorCode) {
    UtcMilliseconds stamp = clock();
    for (int attempt = 0; attempt < kMaxOutputNameAttempts; attempt++) {
        *path = JoinPath(outputDirectory, MakeOutputFileName(UtcTimeFromMilliseconds(stamp)));
        FILE* stream = CreateNewFile(*path, errorCode);
        if (stream || *errorCode != EEXIST) {
            return stream;
        }
        // Taken: a later millisecond, from the clock if it has moved on.
        stamp = std::max(clock(), stamp + 1);
    }
    path->clear();
    return nullptr;
}

const char* ConvertStatusText(ConvertStatus status) {
    switch (status) {
        case ConvertStatus::Converted:
            return "converted";
        case ConvertStatus::NotValid:
            return "not a valid settings-file";
        case ConvertStatus::CannotRead:
            return "cannot read the settings-file";
        case ConvertStatus::CannotWrite:
            return "cannot write the converted settings-file";
    }
    return "unknown result";
}

}  // namespace settings
