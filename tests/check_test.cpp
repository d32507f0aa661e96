#include <gtest/gtest.h>

#include "settings_converter.h"
#include "test_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace settings;
using namespace settings_test;

namespace {

Bytes Truncated(Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes WithSignature(Bytes bytes, unsigned char b6, unsigned char b7, unsigned char b8,
                    unsigned char b9) {
    bytes[6] = b6;
    bytes[7] = b7;
    bytes[8] = b8;
    bytes[9] = b9;
    return bytes;
}

struct CheckCase {
    const char* what;
    Bytes contents;
    CheckResult expected;
};

TEST(CheckSettingsFile, AcceptsOnlyTheSourceSignatureWithAFullLayout) {
    const Bytes valid = MakeSource(8026);
    const CheckCase cases[] = {
        {"empty file", {}, CheckResult::Rejected},
        {"7 bytes", Truncated(valid, 7), CheckResult::Rejected},
        {"8 bytes, 2C 01 at 6..7", Truncated(valid, 8), CheckResult::Rejected},
        {"15 bytes", Truncated(valid, 15), CheckResult::Rejected},
        {"header only", Truncated(valid, 16), CheckResult::Rejected},
        {"one byte short of the leading block", Truncated(valid, 8025), CheckResult::Rejected},
        {"exactly header and leading block", valid, CheckResult::Accepted},
        {"one trailing byte", MakeSource(8027), CheckResult::Accepted},
        {"10 MB", MakeSource(10 * 1024 * 1024), CheckResult::Accepted},
        {"already converted 2C 05 00 00", WithSignature(valid, 0x2C, 0x05, 0, 0), CheckResult::Rejected},
        {"2C 01 00 01", WithSignature(valid, 0x2C, 0x01, 0, 1), CheckResult::Rejected},
        {"2C 02 00 00", WithSignature(valid, 0x2C, 0x02, 0, 0), CheckResult::Rejected},
        {"2D 01 00 00", WithSignature(valid, 0x2D, 0x01, 0, 0), CheckResult::Rejected},
        {"2C 01 01 00", WithSignature(valid, 0x2C, 0x01, 1, 0), CheckResult::Rejected},
    };
    ScratchDirectory dir;
    SettingsConverter converter;
    for (const CheckCase& c : cases) {
        std::string path = dir / "source.bin";
        WriteBytes(path, c.contents);
        std::string problem;
        EXPECT_EQ(converter.CheckSettingsFile(path, &problem), c.expected) << c.what;
        EXPECT_EQ(problem.empty(), c.expected == CheckResult::Accepted) << c.what << ": " << problem;
        EXPECT_EQ(ReadBytes(path), c.contents) << c.what << ": the check changed the file";
    }
    EXPECT_EQ(ListFiles(dir.Path()), std::vector<std::string>{"source.bin"});
}

TEST(CheckSettingsFile, DoesNothingWithoutAReadableFile) {
    ScratchDirectory dir;
    SettingsConverter converter;
    const std::string paths[] = {"", dir / "missing.bin", dir.Path().string()};
    for (const std::string& path : paths) {
        std::string problem;
        EXPECT_EQ(converter.CheckSettingsFile(path, &problem), CheckResult::NothingDone) << path;
        EXPECT_FALSE(problem.empty()) << path;
    }
    EXPECT_TRUE(ListFiles(dir.Path()).empty());
}

TEST(CheckSettingsFile, ReadsAFileOnAReadOnlyMount) {
    std::filesystem::path readOnly = ReadOnlyDirectory();
    if (readOnly.empty()) {
        GTEST_SKIP() << "no read-only tmpfs mount: the test harness needs root to mount one";
    }
    SettingsConverter converter;
    EXPECT_EQ(converter.CheckSettingsFile((readOnly / "source.bin").string()), CheckResult::Accepted);
}

#ifdef _WIN32
// Another program holding the file open for reading, without sharing write access,
// must not stop a check or a conversion: both only read.
TEST(CheckSettingsFile, ReadsAFileAnotherProgramHoldsOpenForReading) {
    ScratchDirectory dir;
    std::string path = dir / "held.bin";
    Bytes source = MakeSource(9000);
    WriteBytes(path, source);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SettingsConverter converter;
    converter.SetOutputDirectory(dir.Path().string());
    EXPECT_EQ(converter.CheckSettingsFile(path), CheckResult::Accepted);
    ConvertResult result = converter.ConvertSettingsFile(path);
    CloseHandle(held);
    ASSERT_EQ(result.status, ConvertStatus::Converted) << result.problem;
    EXPECT_EQ(ReadBytes(result.outputPath), ExpectedConversion(source));
}
#endif

}  // namespace
