#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "settings_converter.h"
#include "test_files.h"

using namespace settings;
using namespace settings_test;
namespace fs = std::filesystem;

namespace {

// 2026-12-11 09:05:03.007 UTC
constexpr UtcMilliseconds kFixedTime = 1796979903007;
const char kFixedName[] = "Settings_2C050000_2026-12-11_09.05.03.007.BIN";
const char kNextName[] = "Settings_2C050000_2026-12-11_09.05.03.008.BIN";

UtcClock FixedClock(UtcMilliseconds time = kFixedTime) {
    return [time] { return time; };
}

// Gives the readings in order, then repeats the last one.
UtcClock SequenceClock(std::deque<UtcMilliseconds> readings) {
    return [readings]() mutable {
        UtcMilliseconds next = readings.front();
        if (readings.size() > 1) {
            readings.pop_front();
        }
        return next;
    };
}

class ConvertTest : public ::testing::Test {
  protected:
    ConvertTest() : converter(FixedClock()) { converter.SetOutputDirectory(out.Path().string()); }

    std::string WriteSource(const Bytes& bytes, const char* name = "source.bin") {
        std::string path = in / name;
        WriteBytes(path, bytes);
        return path;
    }

    ScratchDirectory in;
    ScratchDirectory out;
    SettingsConverter converter;
};

TEST_F(ConvertTest, WritesTheTargetLayoutExactly) {
    Bytes oddHeader = MakeSource(8100, 7);
    const unsigned char headerBytes[] = {0xFF, 0x00, 0x80, 0x2C, 0x01, 0x7F};
    for (size_t i = 0; i < 6; i++) {
        oddHeader[i] = headerBytes[i];
        oddHeader[10 + i] = headerBytes[5 - i];
    }
    struct SizeCase {
        const char* what;
        Bytes source;
    };
    const SizeCase cases[] = {
        {"no trailing block", MakeSource(8026)},
        {"one trailing byte", MakeSource(8027)},
        {"header bytes beyond the signature carried as they are", oddHeader},
        {"40 KB", MakeSource(40 * 1024)},
        {"10 MB", MakeSource(10 * 1024 * 1024)},
    };
    for (const SizeCase& c : cases) {
        std::string source = WriteSource(c.source);
        ConvertResult result = converter.ConvertSettingsFile(source);
        ASSERT_EQ(result.status, ConvertStatus::Converted) << c.what << ": " << result.problem;
        EXPECT_EQ(fs::path(result.outputPath).filename().string(), kFixedName) << c.what;
        Bytes written = ReadBytes(result.outputPath);
        EXPECT_EQ(written.size(), c.source.size() + 24760) << c.what;
        EXPECT_TRUE(written == ExpectedConversion(c.source)) << c.what;
        EXPECT_EQ(ReadBytes(source), c.source) << c.what << ": the source changed";
        fs::remove(result.outputPath);
    }
}

TEST_F(ConvertTest, SmallestSourceGivesThe32786ByteLayout) {
    Bytes source = MakeSource(8026);
    ConvertResult result = converter.ConvertSettingsFile(WriteSource(source));
    ASSERT_EQ(result.status, ConvertStatus::Converted) << result.problem;
    Bytes written = ReadBytes(result.outputPath);
    ASSERT_EQ(written.size(), 32786u);
    const Bytes header(written.begin(), written.begin() + 16);
    EXPECT_EQ(header, (Bytes{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x2C, 0x05, 0x00, 0x00, 0xAA,
                             0xBB, 0xCC, 0xDD, 0xEE, 0xFF}));
    EXPECT_TRUE(std::equal(source.begin() + 16, source.end(), written.begin() + 16));
    EXPECT_TRUE(std::all_of(written.begin() + 8026, written.end(), [](unsigned char b) { return b == 0; }));
}

TEST_F(ConvertTest, DefaultsToTheWorkingDirectory) {
    fs::path previous = fs::current_path();
    fs::current_path(out.Path());
    SettingsConverter inWorkingDirectory(FixedClock());
    fs::copy_file(WriteSource(MakeSource(9000)), "relative.bin");
    ConvertResult result = inWorkingDirectory.ConvertSettingsFile("relative.bin");
    fs::current_path(previous);
    ASSERT_EQ(result.status, ConvertStatus::Converted) << result.problem;
    EXPECT_EQ(result.outputPath, kFixedName);
    EXPECT_EQ(ListFiles(out.Path()), (std::vector<std::string>{kFixedName, "relative.bin"}));
}

TEST_F(ConvertTest, RefusesWhatItCannotConvertAndLeavesNoFile) {
    Bytes converted = ExpectedConversion(MakeSource(9000));
    Bytes shortSource = MakeSource(8025);
    Bytes wrongSignature = MakeSource(9000);
    wrongSignature[7] = 0x02;
    struct RefusalCase {
        const char* what;
        std::string path;
        ConvertStatus expected;
    };
    const RefusalCase cases[] = {
        {"empty path", "", ConvertStatus::CannotRead},
        {"missing source", in / "missing.bin", ConvertStatus::CannotRead},
        {"a directory", in.Path().string(), ConvertStatus::CannotRead},
        {"8025 bytes", WriteSource(shortSource, "short.bin"), ConvertStatus::NotValid},
        {"2C 02 00 00", WriteSource(wrongSignature, "wrong.bin"), ConvertStatus::NotValid},
        {"an already converted file", WriteSource(converted, "converted.bin"), ConvertStatus::NotValid},
    };
    for (const RefusalCase& c : cases) {
        ConvertResult result = converter.ConvertSettingsFile(c.path);
        EXPECT_EQ(result.status, c.expected) << c.what;
        EXPECT_FALSE(result.problem.empty()) << c.what;
        EXPECT_TRUE(result.outputPath.empty()) << c.what;
        EXPECT_TRUE(ListFiles(out.Path()).empty()) << c.what;
    }
    EXPECT_EQ(ReadBytes(in / "converted.bin"), converted);
}

TEST_F(ConvertTest, ConvertsTheFileItIsGivenBehindItsOwnHeader) {
    Bytes checked = MakeSource(9000, 1);
    Bytes other = MakeSource(9500, 2);
    other[0] = 0x99;
    other[15] = 0x42;
    ASSERT_EQ(converter.CheckSettingsFile(WriteSource(checked, "checked.bin")), CheckResult::Accepted);
    ConvertResult result = converter.ConvertSettingsFile(WriteSource(other, "other.bin"));
    ASSERT_EQ(result.status, ConvertStatus::Converted) << result.problem;
    EXPECT_TRUE(ReadBytes(result.outputPath) == ExpectedConversion(other));

    // An accepted check does not make a rejected file convertible.
    Bytes rejected = MakeSource(9000, 3);
    rejected[9] = 0x01;
    std::string rejectedPath = WriteSource(rejected, "rejected.bin");
    ASSERT_EQ(converter.CheckSettingsFile(in / "checked.bin"), CheckResult::Accepted);
    EXPECT_EQ(converter.CheckSettingsFile(rejectedPath), CheckResult::Rejected);
    EXPECT_EQ(converter.ConvertSettingsFile(rejectedPath).status, ConvertStatus::NotValid);
    EXPECT_EQ(ListFiles(out.Path()), std::vector<std::string>{kFixedName});
}

TEST_F(ConvertTest, NeverReplacesAnExistingFile) {
    Bytes first = MakeSource(9000, 1);
    Bytes second = MakeSource(9000, 2);
    // The clock stands still: the second conversion must still find a name of its own.
    ConvertResult a = converter.ConvertSettingsFile(WriteSource(first, "a.bin"));
    ConvertResult b = converter.ConvertSettingsFile(WriteSource(second, "b.bin"));
    ASSERT_EQ(a.status, ConvertStatus::Converted) << a.problem;
    ASSERT_EQ(b.status, ConvertStatus::Converted) << b.problem;
    EXPECT_EQ(fs::path(a.outputPath).filename().string(), kFixedName);
    EXPECT_EQ(fs::path(b.outputPath).filename().string(), kNextName);
    EXPECT_TRUE(ReadBytes(a.outputPath) == ExpectedConversion(first));
    EXPECT_TRUE(ReadBytes(b.outputPath) == ExpectedConversion(second));
}

TEST_F(ConvertTest, TakesTheClocksNextReadingWhenTheNameIsTaken) {
    const Bytes leftover = {'k', 'e', 'e', 'p'};
    WriteBytes(out / kFixedName, leftover);
    SettingsConverter later(SequenceClock({kFixedTime, kFixedTime + 250}));
    later.SetOutputDirectory(out.Path().string());
    ConvertResult result = later.ConvertSettingsFile(WriteSource(MakeSource(9000)));
    ASSERT_EQ(result.status, ConvertStatus::Converted) << result.problem;
    EXPECT_EQ(fs::path(result.outputPath).filename().string(),
              "Settings_2C050000_2026-12-11_09.05.03.257.BIN");
    EXPECT_EQ(ReadBytes(out / kFixedName), leftover);
}

TEST_F(ConvertTest, ReportsAnOutputDirectoryThatCannotBeWritten) {
    converter.SetOutputDirectory((out.Path() / "missing").string());
    ConvertResult result = converter.ConvertSettingsFile(WriteSource(MakeSource(9000)));
    EXPECT_EQ(result.status, ConvertStatus::CannotWrite);
    EXPECT_FALSE(result.problem.empty());
}

TEST_F(ConvertTest, FullDiskLeavesNoPartialFile) {
    fs::path full = FullDirectory();
    if (full.empty()) {
        GTEST_SKIP() << "no full tmpfs mount: the test harness needs root to mount one";
    }
    std::vector<std::string> before = ListFiles(full);
    converter.SetOutputDirectory(full.string());
    Bytes source = MakeSource(200 * 1024);
    std::string sourcePath = WriteSource(source);
    ConvertResult result = converter.ConvertSettingsFile(sourcePath);
    EXPECT_EQ(result.status, ConvertStatus::CannotWrite);
    EXPECT_FALSE(result.problem.empty());
    EXPECT_EQ(ListFiles(full), before);
    EXPECT_EQ(ReadBytes(sourcePath), source);
}

TEST_F(ConvertTest, ReadOnlyMountIsReadFromButNeverWrittenTo) {
    fs::path readOnly = ReadOnlyDirectory();
    if (readOnly.empty()) {
        GTEST_SKIP() << "no read-only tmpfs mount: the test harness needs root to mount one";
    }
    // A source there converts normally...
    std::string source = (readOnly / "source.bin").string();
    Bytes sourceBytes = ReadBytes(source);
    ConvertResult result = converter.ConvertSettingsFile(source);
    ASSERT_EQ(result.status, ConvertStatus::Converted) << result.problem;
    EXPECT_TRUE(ReadBytes(result.outputPath) == ExpectedConversion(sourceBytes));
    // ...but no output can be created there.
    converter.SetOutputDirectory(readOnly.string());
    result = converter.ConvertSettingsFile(source);
    EXPECT_EQ(result.status, ConvertStatus::CannotWrite);
    EXPECT_FALSE(result.problem.empty());
    EXPECT_EQ(ListFiles(readOnly), std::vector<std::string>{"source.bin"});
    EXPECT_EQ(ReadBytes(source), sourceBytes);
}

TEST_F(ConvertTest, CloseSettingsFilesIsSafeAtAnyTime) {
    converter.CloseSettingsFiles();
    converter.CloseSettingsFiles();
    std::string source = WriteSource(MakeSource(9000));
    EXPECT_EQ(converter.CheckSettingsFile(source), CheckResult::Accepted);
    converter.CloseSettingsFiles();
    EXPECT_EQ(converter.ConvertSettingsFile(source).status, ConvertStatus::Converted);
    converter.CloseSettingsFiles();
    EXPECT_EQ(converter.ConvertSettingsFile(in / "missing.bin").status, ConvertStatus::CannotRead);
    converter.CloseSettingsFiles();
    // Nothing stayed open: the files can be removed (Windows refuses to delete open files).
    EXPECT_TRUE(fs::remove(source));
    EXPECT_TRUE(fs::remove(out / kFixedName));
}

}  // namespace
