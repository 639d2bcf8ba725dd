// CHomeFolder: the folder where a program keeps "Orvel.cfg", "ports/" and "log.txt".
#pragma once

#include <string>

class CHomeFolder {
public:
    // What the choice depends on besides the executable's folder: $XDG_CONFIG_HOME and $HOME.
    struct Environment {
        std::string configHome;
        std::string home;
    };
    static Environment FromProcess();

    // The folder, ending with '/': chosen when given; otherwise the executable's folder when
    // it is writable and not a folder programs are installed into (a build folder, a portable
    // copy); otherwise "<configHome or home/.config>/halvo/".
    static std::string Choose(const std::string& chosen, const std::string& exeDir,
                              const Environment& env);
    // Choose for the running program, creating the folder when it is missing. The folder is
    // returned even when it cannot be created; the files in it then fail as they would anyway.
    static std::string Resolve(const std::string& chosen = {});

    // /usr/bin and the other folders of installed programs: even when root could write there,
    // the settings never go beside the system's programs.
    static bool IsInstalledProgramFolder(const std::string& dir);
    static bool CreateFolder(const std::string& dir);
};
