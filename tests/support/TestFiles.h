// Scratch folders, whole-file reads and writes, and the comma-decimal locale of the tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/NonCopyable.h"

// A fresh folder under /tmp, removed with everything in it at the end of its scope.
class TempFolder : CNonCopyable {
public:
    TempFolder();
    ~TempFolder();
    // The folder with a trailing '/'.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
// How many times text occurs in haystack.
int Occurrences(const std::string& haystack, const std::string& text);
// The lines of text without their line ends.
std::vector<std::string> SplitLines(const std::string& text);
// The fields of line between separators; a trailing separator gives an empty last field.
std::vector<std::string> SplitFields(const std::string& line, char separator);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The first line where text differs from the reference file at path, as a failure message; empty
// when they agree. With HALVO_UPDATE_REFERENCES set in the environment the file is rewritten
// from text instead (review the difference before committing it).
std::string ReferenceMismatch(const std::string& text, const std::string& path);

// LC_NUMERIC set to German (decimal comma) for a scope; Active() is false when that locale is
// not installed (scripts/setup.sh installs it).
class CommaLocale : CNonCopyable {
public:
    CommaLocale();
    ~CommaLocale();
    bool Active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

// Polls the condition every 20 ms until it holds or deadlineMs have passed; its last value.
bool PollUntil(const std::function<bool()>& condition, int deadlineMs);
