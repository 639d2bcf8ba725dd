// Temporary-file-and-rename writes and flushed appends over POSIX file descriptors.
#include "data/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <chrono>
#include <filesystem>
#include <vector>

bool WriteAllBytes(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Permissions a newly created file gets under the current umask.
mode_t CreationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    RemoveStaleTemporaries(path);
    std::string tmpl = path + ".tmpXXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : CreationMode();
    ::fchmod(fd, mode);
    const bool written = WriteAllBytes(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(name.data(), path.c_str()) != 0) {
        ::unlink(name.data());
        return false;
    }
    SyncFolder(FolderOf(path));
    return true;
}

void RemoveStaleTemporaries(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const std::string prefix = target.filename().string() + ".tmp";
    const auto cutoff = fs::file_time_type::clock::now() - kStaleTemporaryAge;
    std::error_code error;
    for (fs::directory_iterator it(target.has_parent_path() ? target.parent_path() : ".", error),
         end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        std::error_code entryError;
        const auto written = it->last_write_time(entryError);
        if (!entryError && written < cutoff) {
            fs::remove(it->path(), entryError);
        }
    }
}

// A block that does not fit (a full disk) is taken back, so the file never ends in half a block.
bool AppendTextFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0;
    const bool written = WriteAllBytes(fd, bytes);
    if (!written && sized) {
        (void)::ftruncate(fd, st.st_size);
    }
    return (::close(fd) == 0) && written;
}
