// CJournalLog: the station's event log, one line per event on standard error.
#pragma once

#include <string>

class IClock;

class CJournalLog {
public:
    // syslog priorities, as the journal reads them from a "<N>" prefix.
    enum class Priority { Error = 3, Warning = 4, Notice = 5, Info = 6 };

    // fd receives the lines. With journal on, each line starts with "<N>" and carries no time
    // (the journal stamps it); otherwise it starts with the local date and time.
    CJournalLog(int fd, bool journal, const IClock& clock);

    // True when standard error is the stream systemd connected to the journal: $JOURNAL_STREAM
    // names the device and inode of that stream.
    static bool StderrIsJournal();

    void Write(Priority priority, const std::string& text);
    // The line Write would write (without its line feed).
    std::string Line(Priority priority, const std::string& text) const;
    // Multi-line texts (message-box texts) become one line with " / " between their lines.
    static std::string OneLine(const std::string& text);

private:
    int m_fd;
    bool m_journal;
    const IClock& m_clock;
};
