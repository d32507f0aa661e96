#include "file_access.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace settings {

namespace {

#ifdef _WIN32

int OpenReadOnly(const char* path) {
    return _open(path, _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

bool StatOpenFile(int fd, uint64_t* size, bool* isRegular, bool* isDirectory) {
    struct _stat64 info;
    if (_fstat64(fd, &info) != 0) {
        return false;
    }
    *isRegular = (info.st_mode & _S_IFMT) == _S_IFREG;
    *isDirectory = (info.st_mode & _S_IFMT) == _S_IFDIR;
    *size = info.st_size < 0 ? 0 : static_cast<uint64_t>(info.st_size);
    return true;
}

int CreateExclusive(const char* path) {
    // msvcrt's fopen ignores the "x" mode flag, so exclusivity comes from _O_EXCL.
    return _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
}

FILE* StreamFromDescriptor(int fd, const char* mode) {
    FILE* stream = _fdopen(fd, mode);
    if (!stream) {
        _close(fd);
    }
    return stream;
}

void CloseDescriptor(int fd) {
    _close(fd);
}

#else

int OpenReadOnly(const char* path) {
    // O_NONBLOCK keeps a FIFO without writer from blocking the open; it is cleared again
    // once the file is known to be a regular file.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    return fd;
}

bool StatOpenFile(int fd, uint64_t* size, bool* isRegular, bool* isDirectory) {
    struct stat info;
    if (fstat(fd, &info) != 0) {
        return false;
    }
    *isRegular = S_ISREG(info.st_mode);
    *isDirectory = S_ISDIR(info.st_mode);
    *size = info.st_size < 0 ? 0 : static_cast<uint64_t>(info.st_size);
    if (*isRegular) {
        int flags = fcntl(fd, F_GETFL);
        if (flags != -1) {
            fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        }
    }
    return true;
}

int CreateExclusive(const char* path) {
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

FILE* StreamFromDescriptor(int fd, const char* mode) {
    FILE* stream = fdopen(fd, mode);
    if (!stream) {
        close(fd);
    }
    return stream;
}

void CloseDescriptor(int fd) {
    close(fd);
}

#endif

}  // namespace

FILE* OpenSourceFile(const std::string& path, uint64_t* size, std::string* problem) {
    *size = 0;
    int fd = OpenReadOnly(path.c_str());
    if (fd < 0) {
        *problem = SystemErrorText(errno);
        return nullptr;
    }
    bool isRegular = false;
    bool isDirectory = false;
    if (!StatOpenFile(fd, size, &isRegular, &isDirectory)) {
        *problem = SystemErrorText(errno);
        CloseDescriptor(fd);
        return nullptr;
    }
    if (!isRegular) {
        *problem = isDirectory ? "it is a directory" : "it is not a regular file";
        *size = 0;
        CloseDescriptor(fd);
        return nullptr;
    }
    FILE* stream = StreamFromDescriptor(fd, "rb");
    if (!stream) {
        *problem = SystemErrorText(errno);
    }
    return stream;
}

FILE* CreateNewFile(const std::string& path, int* errorCode) {
    *errorCode = 0;
    int fd = CreateExclusive(path.c_str());
    if (fd < 0) {
        *errorCode = errno;
        return nullptr;
    }
    FILE* stream = StreamFromDescriptor(fd, "wb");
    if (!stream) {
        *errorCode = errno;
        std::remove(path.c_str());
    }
    return stream;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (directory.empty()) {
        return name;
    }
    char last = directory.back();
    bool hasSeparator = last == '/';
#ifdef _WIN32
    hasSeparator = hasSeparator || last == '\\' || last == ':';
#endif
    return hasSeparator ? directory + name : directory + "/" + name;
}

std::string SystemErrorText(int errorCode) {
    const char* text = std::strerror(errorCode);
    return text ? text : "unknown error";
}

}  // namespace settings
