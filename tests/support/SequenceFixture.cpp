// The sequence tests' document on the simulated instruments, in Tokyo time.
#include "tests/support/SequenceFixture.h"

#include <filesystem>

#include "link/PortMap.h"

Counts PeakCounts(int base, int peak) {
    Counts c;
    c.fill(static_cast<int16_t>(base));
    c[1000] = static_cast<int16_t>(peak);
    return c;
}

SequenceFixture::SequenceFixture() {
    std::filesystem::create_directories(folder + "ports");
    doc = std::make_unique<COrvelDoc>(folder);
    doc->SetHost(&host);
    doc->SetMessageBox(&messages);
    doc->m_link.SetClock(&steady);
    doc->m_link.SetWaitPump(&pump);
    pump.quiet = [this] { return sim == nullptr || sim->Idle(); };
    doc->m_link.SetPortMap(CPortMap(folder + "ports"));
    doc->m_comPort = 1;
    StartInstruments(Options());
    clock.now = LocalStamp(2024, 6, 21, 9, 0, 0);
    sequence = std::make_unique<CMeasurementSequence>(*doc, progress, clock);
}

SequenceFixture::~SequenceFixture() {
    sequence.reset();
    doc.reset();
    sim.reset();
}

SIMOPTIONS SequenceFixture::Options() const {
    SIMOPTIONS options;
    options.fast = true;
    options.motorSpeed = 2500;
    options.slewRate = 200;
    options.linkPath = folder + "ports/COM1";
    options.clock = [] { return int64_t{1718928000}; };
    options.counts = [](int, bool open, Counts& counts) {
        counts = PeakCounts(open ? 9000 : 500, open ? 12000 : 500);
    };
    return options;
}

void SequenceFixture::StartInstruments(SIMOPTIONS options) {
    doc->m_link.ClosePort();
    sim.reset();
    sim = std::make_unique<CSimulator>(std::move(options));
    ASSERT_TRUE(sim->Start()) << sim->Error();
    ASSERT_EQ(doc->m_link.OpenPort(1), 1);
}
