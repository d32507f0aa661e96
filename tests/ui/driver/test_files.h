// Settings files made by the tests, their expected conversions, and file-system helpers.
// Paths are Windows paths ("Z:\\tmp\\...").
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kConvertibleSize = 9000;  // a leading block and a 974-byte trailing block

// A file of `size` bytes with `signature` at offsets 6..9 and a pattern elsewhere that
// differs with `seed`, so one file's bytes cannot pass for another's.
std::string MakeSettingsBytes(size_t size, const unsigned char (&signature)[4], int seed);
std::string MakeConvertibleBytes(int seed);
std::string ExpectedConversion(const std::string& source);

bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool ReadFileBytes(const std::string& path, std::string* bytes);
std::vector<std::string> ListFiles(const std::string& directory);
bool MakeDirectory(const std::string& path);
std::string JoinPath(const std::string& directory, const std::string& name);
// "/tmp/x" -> "Z:\\tmp\\x"; a path that is already a Windows path is kept.
std::string WindowsPath(const std::string& path);

int64_t UtcNowMs();
extern const char kOutputPrefix[];
// Milliseconds since 1970 (UTC) of a converted file's name, or -1 when the name is not
// "Settings_2C050000_YYYY-MM-DD_hh.mm.ss.mmm.BIN".
int64_t OutputNameTimeMs(const std::string& name);
