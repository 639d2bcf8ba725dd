// A document connected to the simulated instruments, with fake clocks, displays and a hookable
// pump; the instruments give exact counts (a flat level with one peak) instead of the sky's.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/OrvelDoc.h"
#include "measurement/MeasurementSequence.h"
#include "sim/Simulator.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPumps.h"

using Counts = std::array<int16_t, 2048>;
// A flat block of counts, with pixel 1000 raised to the given peak.
Counts PeakCounts(int base, int peak);

class SequenceFixture : public ::testing::Test {
protected:
    SequenceFixture();
    ~SequenceFixture() override;

    // Replaces the instruments by new ones with these options (the document opens the new line).
    void StartInstruments(SIMOPTIONS options);
    // Options of the fixture's instruments: fast, motor at 2500/200, a light peak of 12000 over
    // 9000 and a dark level of 500.
    SIMOPTIONS Options() const;
    void SetFaults(const SIMFAULTS& faults) { sim->SetFaults(faults); }
    std::vector<std::string> Requests() const { return sim->Requests(); }
    std::string ReadLog() const { return ReadFileBytes(folder + "log.txt"); }

    ScopedTimeZone zone{"Asia/Tokyo"};
    TempFolder temp;
    std::string folder = temp.Path();
    FakeClock steady;
    FastForwardPump pump{steady, 200};
    FakeMessageBox messages;
    FakeHost host;
    std::unique_ptr<COrvelDoc> doc;
    FakeWallClock clock;
    FakeProgress progress;
    std::unique_ptr<CMeasurementSequence> sequence;
    std::unique_ptr<CSimulator> sim;
};
