// A document connected to scripted instruments, with fake clocks, displays and a hookable pump.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "document/OrvelDoc.h"
#include "measurement/MeasurementSequence.h"
#include "tests/support/Fakes.h"
#include "tests/support/ScriptedInstrument.h"
#include "tests/support/TestPumps.h"

class SequenceFixture : public ::testing::Test {
protected:
    SequenceFixture();
    ~SequenceFixture() override;

    // Requests the instruments received, without the presence checks' purges.
    std::vector<std::string> Requests() const { return instrument.Requests(); }
    std::string ReadLog() const;

    ScopedTimeZone zone{"Asia/Tokyo"};
    std::string folder;
    ScriptedInstrument instrument;
    FakeClock steady;
    FastForwardPump pump{steady, 200};
    FakeMessageBox messages;
    FakeHost host;
    std::unique_ptr<COrvelDoc> doc;
    FakeWallClock clock;
    FakeProgress progress;
    std::unique_ptr<CMeasurementSequence> sequence;
};
