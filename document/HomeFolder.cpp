// The home folder rule: beside a build or portable executable, else the user's config folder.
#include "document/HomeFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "data/FilePaths.h"
#include "document/OrvelSettings.h"

#ifndef HALVO_INSTALL_BINDIR
#define HALVO_INSTALL_BINDIR "/usr/local/bin"
#endif

namespace {

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') {
        dir += '/';
    }
    return dir;
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

CHomeFolder::Environment CHomeFolder::FromProcess() {
    Environment env{Variable("XDG_CONFIG_HOME"), Variable("HOME")};
    if (env.home.empty()) {
        const passwd* user = ::getpwuid(::getuid());
        env.home = user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
    }
    return env;
}

bool CHomeFolder::IsInstalledProgramFolder(const std::string& dir) {
    const std::string folder = WithSlash(dir);
    for (const char* installed : {HALVO_INSTALL_BINDIR, "/usr/bin", "/usr/local/bin", "/bin",
                                  "/usr/sbin", "/sbin", "/usr/games"}) {
        if (folder == WithSlash(installed)) {
            return true;
        }
    }
    return false;
}

std::string CHomeFolder::Choose(const std::string& chosen, const std::string& exeDir,
                                const Environment& env) {
    if (!chosen.empty()) {
        return WithSlash(chosen);
    }
    if (!exeDir.empty() && !IsInstalledProgramFolder(exeDir) &&
        ::access(exeDir.c_str(), W_OK) == 0) {
        return WithSlash(exeDir);
    }
    // An absolute $XDG_CONFIG_HOME only: a relative one is to be ignored.
    std::string config = env.configHome;
    if (config.empty() || config.front() != '/') {
        config = WithSlash(env.home) + ".config";
    }
    return WithSlash(config) + "halvo/";
}

bool CHomeFolder::CreateFolder(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    return std::filesystem::is_directory(dir, error);
}

std::string CHomeFolder::Resolve(const std::string& chosen) {
    const std::string folder = Choose(chosen, ExecutableFolder(), FromProcess());
    CreateFolder(folder);
    return folder;
}
