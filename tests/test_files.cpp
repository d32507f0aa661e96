#include "test_files.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace settings_test {

namespace fs = std::filesystem;

Bytes MakeSource(size_t size, unsigned seed) {
    static const unsigned char kHeader[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x2C, 0x01,
                                              0x00, 0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    Bytes bytes(size);
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; i++) {
        state = state * 1103515245u + 12345u;
        // Never zero in the body, so a misplaced zero block cannot go unnoticed.
        bytes[i] = i < 16 ? kHeader[i] : static_cast<unsigned char>((state >> 16) % 255 + 1);
    }
    return bytes;
}

Bytes ExpectedConversion(const Bytes& source) {
    Bytes expected(source.size() + 24760, 0x00);
    std::copy(source.begin(), source.begin() + 8026, expected.begin());
    std::copy(source.begin() + 8026, source.end(), expected.begin() + 32786);
    expected[7] = 0x05;
    return expected;
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ListFiles(const fs::path& directory) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        if (entry.is_regular_file()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

ScratchDirectory::ScratchDirectory() {
    static std::atomic<int> counter{0};
    // Relative to the test's working directory, which the test harness makes per build.
    fs::path base = fs::absolute("scratch");
    fs::create_directories(base);
    do {
        path = base / ("t" + std::to_string(counter++));
    } while (!fs::create_directory(path));
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code error;
    fs::remove_all(path, error);
}

static fs::path DirectoryFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value || !fs::is_directory(value)) {
        return fs::path();
    }
    return fs::path(value);
}

fs::path FullDirectory() {
    return DirectoryFromEnvironment("SETTINGS_TEST_FULL_DIR");
}

fs::path ReadOnlyDirectory() {
    return DirectoryFromEnvironment("SETTINGS_TEST_READONLY_DIR");
}

}  // namespace settings_test
