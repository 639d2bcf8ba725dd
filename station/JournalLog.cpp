// Log lines for a terminal or for the journal.
#include "station/JournalLog.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "data/AtomicFile.h"
#include "data/CLocaleFormat.h"
#include "data/LocalTime.h"
#include "measurement/IClock.h"

CJournalLog::CJournalLog(int fd, bool journal, const IClock& clock)
    : m_fd(fd), m_journal(journal), m_clock(clock) {}

bool CJournalLog::StderrIsJournal() {
    const char* stream = std::getenv("JOURNAL_STREAM");
    unsigned long long device = 0;
    unsigned long long inode = 0;
    if (stream == nullptr || std::sscanf(stream, "%llu:%llu", &device, &inode) != 2) {
        return false;
    }
    struct stat st {};
    return ::fstat(2, &st) == 0 && static_cast<unsigned long long>(st.st_dev) == device &&
           static_cast<unsigned long long>(st.st_ino) == inode;
}

std::string CJournalLog::OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            line += " / ";
        } else if (c != '\r') {
            line += c;
        }
    }
    return line;
}

std::string CJournalLog::Line(Priority priority, const std::string& text) const {
    if (m_journal) {
        return FormatC("<%d>", static_cast<int>(priority)) + OneLine(text);
    }
    struct tm local {};
    const std::string stamp =
        m_clock.LocalTime(m_clock.Now(), local) ? FormatTime("%Y-%m-%d %H:%M:%S ", local) : "";
    return stamp + OneLine(text);
}

void CJournalLog::Write(Priority priority, const std::string& text) {
    // One write per line, so lines of a restarted station never interleave mid-line.
    WriteAllBytes(m_fd, Line(priority, text) + "\n");
}
