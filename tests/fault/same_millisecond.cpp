// Two processes convert at the same millisecond into the same directory, a hundred
// times in a row. Both clocks read the very same time, and both processes are released
// at once, so they race for one name through the file system itself: each must succeed,
// one under that millisecond's name and one under the next, both files complete.

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "settings_converter.h"

namespace {

constexpr int kRounds = 100;
constexpr size_t kSourceSize = 100000;
// 2031-05-17 10:20:30.000 UTC; every round moves on by a second.
constexpr settings::UtcMilliseconds kFirstTime = 1936952430000;

using Bytes = std::vector<unsigned char>;

bool ReadWholeFile(const std::string& path, Bytes* bytes) {
    bytes->clear();
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    unsigned char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    bool readAll = !ferror(file);
    fclose(file);
    return readAll;
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

std::set<std::string> ListDirectory(const std::string& path) {
    std::set<std::string> names;
    if (DIR* directory = opendir(path.c_str())) {
        while (const dirent* entry = readdir(directory)) {
            if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) {
                names.insert(entry->d_name);
            }
        }
        closedir(directory);
    }
    return names;
}

Bytes MakeTarget(const Bytes& source) {
    Bytes target(source.begin(), source.begin() + 8026);
    target[7] = 0x05;
    target.insert(target.end(), 24760, 0x00);
    target.insert(target.end(), source.begin() + 8026, source.end());
    return target;
}

// The child: waits for the start signal, converts, and exits 0 only when it converted.
[[noreturn]] void ConvertWhenReleased(int startPipe, const std::string& source,
                                      const std::string& outputDirectory,
                                      settings::UtcMilliseconds now) {
    settings::SettingsConverter converter([now] { return now; });
    converter.SetOutputDirectory(outputDirectory);
    char signal;
    if (read(startPipe, &signal, 1) != 0) {
        _exit(3);
    }
    settings::ConvertResult result = converter.ConvertSettingsFile(source);
    if (result.status != settings::ConvertStatus::Converted) {
        fprintf(stderr, "child: %s: %s\n", settings::ConvertStatusText(result.status),
                result.problem.c_str());
        _exit(1);
    }
    _exit(0);
}

// Returns an empty string when the round went right, else what went wrong.
std::string RunRound(int round, const std::string& source, const Bytes& target,
                     const std::string& outputDirectory) {
    settings::UtcMilliseconds now = kFirstTime + round * int64_t{1000};
    int start[2];
    if (pipe(start) != 0) {
        return "cannot make a pipe";
    }
    pid_t children[2];
    for (pid_t& child : children) {
        child = fork();
        if (child == 0) {
            close(start[1]);
            ConvertWhenReleased(start[0], source, outputDirectory, now);
        }
    }
    // Closing the write end releases both children at once.
    close(start[0]);
    close(start[1]);
    std::string problem;
    for (pid_t child : children) {
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            problem = "a conversion did not succeed";
        }
    }
    if (!problem.empty()) {
        return problem;
    }
    std::set<std::string> expected = {
        settings::MakeOutputFileName(settings::UtcTimeFromMilliseconds(now)),
        settings::MakeOutputFileName(settings::UtcTimeFromMilliseconds(now + 1)),
    };
    if (ListDirectory(outputDirectory) != expected) {
        return "the directory does not hold exactly this and the next millisecond's files";
    }
    for (const std::string& name : expected) {
        Bytes written;
        std::string path = outputDirectory + "/" + name;
        if (!ReadWholeFile(path, &written) || written != target) {
            return name + " is not the complete converted file";
        }
        unlink(path.c_str());
    }
    return "";
}

}  // namespace

int main() {
    char pattern[] = "same-millisecond.XXXXXX";
    if (!mkdtemp(pattern)) {
        perror("mkdtemp");
        return 1;
    }
    std::string work = pattern;
    std::string source = work + "/source.bin";
    std::string outputDirectory = work + "/out";
    mkdir(outputDirectory.c_str(), 0700);

    Bytes content(kSourceSize);
    std::mt19937 random(20240229);
    for (unsigned char& byte : content) {
        byte = static_cast<unsigned char>(random());
    }
    const unsigned char signature[4] = {0x2C, 0x01, 0x00, 0x00};
    memcpy(content.data() + 6, signature, sizeof signature);
    Bytes target = MakeTarget(content);
    if (!WriteWholeFile(source, content)) {
        fprintf(stderr, "cannot write %s\n", source.c_str());
        return 1;
    }

    int failures = 0;
    for (int round = 0; round < kRounds && failures == 0; round++) {
        std::string problem = RunRound(round, source, target, outputDirectory);
        if (!problem.empty()) {
            fprintf(stderr, "FAIL round %d: %s\n", round + 1, problem.c_str());
            failures++;
        }
    }
    Bytes after;
    if (!ReadWholeFile(source, &after) || after != content) {
        fprintf(stderr, "FAIL the source changed\n");
        failures++;
    }
    if (failures == 0) {
        printf("ok   %d rounds: both processes converted, under this and the next millisecond\n",
               kRounds);
        for (const std::string& name : ListDirectory(outputDirectory)) {
            unlink((outputDirectory + "/" + name).c_str());
        }
        rmdir(outputDirectory.c_str());
        unlink(source.c_str());
        rmdir(work.c_str());
    }
    return failures == 0 ? 0 : 1;
}
