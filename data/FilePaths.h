// File and folder checks shared by the save commands, the schedule and the interval settings.
#pragma once

#include <string>

bool FileExists(const std::string& path);

// The folder of the running program, ending with '/'; "./" when it cannot be found.
std::string ExecutableFolder();

// The folder part of a file path, up to and including its last '/'; "" for a bare name.
std::string FolderOfFile(const std::string& path);

// path with "." and extension added when its name has no extension of its own.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

enum class FolderState { Missing, ReadOnly, Usable };
// The folder with every trailing '/' removed: missing (also when nothing is left, so data files
// never go into the root folder), not writable, or usable. Anything that exists counts.
FolderState CheckFolder(std::string folder);
