// Scratch folders, whole-file reads and writes, and the comma-decimal locale of the tests.
#pragma once

#include <functional>
#include <string>

// A fresh folder under /tmp, removed with everything in it at the end of its scope.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder with a trailing '/'.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The first line where text differs from the reference file at path, as a failure message; empty
// when they agree. With HALVO_UPDATE_REFERENCES set in the environment the file is rewritten
// from text instead (review the difference before committing it).
std::string ReferenceMismatch(const std::string& text, const std::string& path);

// LC_NUMERIC set to German (decimal comma) for a scope; Active() is false when that locale is
// not installed (scripts/setup.sh installs it).
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool Active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

// Polls the condition every 20 ms until it holds or deadlineMs have passed; its last value.
bool PollUntil(const std::function<bool()>& condition, int deadlineMs);
