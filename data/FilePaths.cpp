// File and folder checks: existence, the folder of a file, default extensions, writability.
#include "data/FilePaths.h"

#include <sys/stat.h>
#include <unistd.h>
#include <climits>

#include <vector>

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string FolderOfFile(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (extension.empty() || nameStart == path.size() ||
        path.find('.', nameStart) != std::string::npos) {
        return path;
    }
    return path + "." + extension;
}

FolderState CheckFolder(std::string folder) {
    while (!folder.empty() && folder.back() == '/') {
        folder.pop_back();
    }
    if (folder.empty() || !FileExists(folder)) {
        return FolderState::Missing;
    }
    return ::access(folder.c_str(), W_OK) == 0 ? FolderState::Usable : FolderState::ReadOnly;
}

std::string ExecutableFolder() {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) {
            return "./";
        }
        if (static_cast<size_t>(n) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<size_t>(n));
            const size_t slash = path.rfind('/');
            return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
        }
        buffer.resize(buffer.size() * 2);  // the link may have been cut off
    }
}
