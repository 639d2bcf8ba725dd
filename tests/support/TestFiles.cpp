// Scratch folders, whole-file reads and writes, and the comma-decimal locale of the tests.
#include "tests/support/TestFiles.h"

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

TempFolder::TempFolder() {
    char name[] = "/tmp/halvo-test-XXXXXX";
    const char* made = mkdtemp(name);
    m_path = std::string(made != nullptr ? made : "/tmp") + "/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    if (m_path != "/tmp/") {
        std::filesystem::remove_all(m_path, ec);
    }
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReferenceMismatch(const std::string& text, const std::string& path) {
    if (std::getenv("HALVO_UPDATE_REFERENCES") != nullptr) {
        WriteFileBytes(path, text);
        return {};
    }
    const std::string reference = ReadFileBytes(path);
    if (reference == text) {
        return {};
    }
    std::istringstream want(reference);
    std::istringstream got(text);
    std::string a;
    std::string b;
    for (int line = 1;; ++line) {
        const bool moreWanted = static_cast<bool>(std::getline(want, a));
        const bool moreGot = static_cast<bool>(std::getline(got, b));
        if (!moreWanted && !moreGot) {
            return path + ": differs in line endings";
        }
        if (a != b || moreWanted != moreGot) {
            return path + ":" + std::to_string(line) +
                   "\n  expected: " + (moreWanted ? a : "(end)") +
                   "\n  actual:   " + (moreGot ? b : "(end)");
        }
    }
}

CommaLocale::CommaLocale() {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    m_previous = previous != nullptr ? previous : "C";
    m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

CommaLocale::~CommaLocale() {
    std::setlocale(LC_NUMERIC, m_previous.c_str());
}

bool PollUntil(const std::function<bool()>& condition, int deadlineMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> SplitFields(const std::string& line, char separator) {
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == separator) {
            fields.emplace_back();
        } else {
            fields.back().push_back(c);
        }
    }
    return fields;
}

int Occurrences(const std::string& haystack, const std::string& text) {
    int n = 0;
    for (size_t at = haystack.find(text); at != std::string::npos;
         at = haystack.find(text, at + 1)) {
        ++n;
    }
    return n;
}
