// The sequence tests' document on a scripted line, in Tokyo time.
#include "tests/support/SequenceFixture.h"

#include <fstream>
#include <sstream>

#include "link/PortMap.h"

SequenceFixture::SequenceFixture() {
    char name[] = "/tmp/halvo-seq-XXXXXX";
    folder = std::string(mkdtemp(name)) + "/";
    std::filesystem::create_directories(folder + "ports");
    std::filesystem::create_symlink(instrument.SlavePath(), folder + "ports/COM1");
    doc = std::make_unique<COrvelDoc>(folder);
    doc->SetHost(&host);
    doc->SetMessageBox(&messages);
    doc->m_link.SetClock(&steady);
    doc->m_link.SetWaitPump(&pump);
    doc->m_link.SetPortMap(CPortMap(folder + "ports"));
    doc->m_comPort = 1;
    EXPECT_EQ(doc->m_link.OpenPort(1), 1);
    clock.now = LocalStamp(2024, 6, 21, 9, 0, 0);
    sequence = std::make_unique<CMeasurementSequence>(*doc, progress, clock);
}

SequenceFixture::~SequenceFixture() {
    sequence.reset();
    doc.reset();
    std::filesystem::remove_all(folder);
}

std::string SequenceFixture::ReadLog() const {
    std::ifstream in(folder + "log.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
