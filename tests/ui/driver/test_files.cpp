#include "test_files.h"

#include <cstdio>

const char kOutputPrefix[] = "Settings_2C050000_";

namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kLeadingBlockSize = 8010;
constexpr size_t kInsertedBlockSize = 24760;
constexpr int64_t kUnixEpochIn100ns = 116444736000000000LL;

int64_t FileTimeToUnixMs(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return (static_cast<int64_t>(value.QuadPart) - kUnixEpochIn100ns) / 10000;
}

}  // namespace

std::string MakeSettingsBytes(size_t size, const unsigned char (&signature)[4], int seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; i++) {
        bytes[i] = static_cast<char>((i * 31 + i / 251 + seed * 17 + 1) & 0xFF);
    }
    for (size_t i = 0; i < 4 && 6 + i < size; i++) {
        bytes[6 + i] = static_cast<char>(signature[i]);
    }
    return bytes;
}

std::string MakeConvertibleBytes(int seed) {
    const unsigned char kSource[4] = {0x2C, 0x01, 0x00, 0x00};
    return MakeSettingsBytes(kConvertibleSize, kSource, seed);
}

std::string ExpectedConversion(const std::string& source) {
    std::string header = source.substr(0, kHeaderSize);
    header[7] = 0x05;
    const size_t split = kHeaderSize + kLeadingBlockSize;
    return header + source.substr(kHeaderSize, kLeadingBlockSize) +
           std::string(kInsertedBlockSize, '\0') + source.substr(split);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    bytes->clear();
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) {
        bytes->append(chunk, got);
    }
    bool ok = !ferror(file);
    fclose(file);
    return ok;
}

std::vector<std::string> ListFiles(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(directory, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool MakeDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (!directory.empty() && directory.back() == '\\') {
        return directory + name;
    }
    return directory + "\\" + name;
}

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    std::string converted = "Z:" + path;
    for (char& c : converted) {
        if (c == '/') {
            c = '\\';
        }
    }
    return converted;
}

int64_t UtcNowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FileTimeToUnixMs(now);
}

int64_t OutputNameTimeMs(const std::string& name) {
    const std::string prefix = kOutputPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0) {
        return -1;
    }
    SYSTEMTIME time = {};
    int year, month, day, hour, minute, second, millisecond;
    char end[8] = "";
    int consumed = 0;
    if (sscanf(name.c_str() + prefix.size(), "%4d-%2d-%2d_%2d.%2d.%2d.%3d%4s%n", &year, &month,
               &day, &hour, &minute, &second, &millisecond, end, &consumed) != 8 ||
        std::string(end) != ".BIN" || name.size() != prefix.size() + 27 ||
        static_cast<size_t>(consumed) != name.size() - prefix.size()) {
        return -1;
    }
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wMilliseconds = static_cast<WORD>(millisecond);
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&time, &fileTime)) {
        return -1;
    }
    return FileTimeToUnixMs(fileTime);
}
