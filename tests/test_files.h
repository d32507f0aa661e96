// Files and directories for the converter tests, made fresh for each test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace settings_test {

using Bytes = std::vector<unsigned char>;

// A source file of `size` bytes: header 00 11 22 33 44 55 2C 01 00 00 AA BB CC DD EE FF
// (signature 2C 01 00 00) and a body of bytes that differ from position to position.
Bytes MakeSource(size_t size, unsigned seed = 1);

// What the converter must write for `source`.
Bytes ExpectedConversion(const Bytes& source);

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadBytes(const std::filesystem::path& path);

// Regular files directly in `directory`, by name, sorted.
std::vector<std::string> ListFiles(const std::filesystem::path& directory);

// A new empty directory for one test, removed again with the object.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& Path() const { return path; }
    std::string operator/(const std::string& name) const { return (path / name).string(); }

  private:
    std::filesystem::path path;
};

// Directories prepared by the test harness on small tmpfs mounts; empty when the harness
// could not mount them (not root), so that tests can skip with a clear reason.
std::filesystem::path FullDirectory();
std::filesystem::path ReadOnlyDirectory();

}  // namespace settings_test
