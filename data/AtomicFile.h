// Whole-file writes that never leave a half-written file, and in-place appends.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

// Writes bytes to a temporary file in the target's folder, flushes it to disk and renames it
// over path. Returns false (target untouched, temporary removed) on any failure.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Removes the temporary files a killed writer left beside path (the same name with ".tmp" and
// six characters) once they are older than kStaleTemporaryAge: no writer of ours takes that
// long, so a live writer's file is never taken.
inline constexpr std::chrono::minutes kStaleTemporaryAge{10};
void RemoveStaleTemporaries(const std::string& path);

// Writes every byte to an open descriptor, retrying short writes; false on an error.
bool WriteAllBytes(int fd, std::string_view bytes);

// Appends bytes to a file, creating it when missing (the daily text file and the log).
bool AppendTextFile(const std::string& path, std::string_view bytes);
