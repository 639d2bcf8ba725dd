// Instrument set-up, the connection loop and the sensor information text.
#include <gtest/gtest.h>

#include "tests/support/SequenceFixture.h"

namespace {

class Setup : public SequenceFixture {};

std::vector<std::string> BandSetCommands(const std::vector<std::string>& requests) {
    std::vector<std::string> sets;
    for (const auto& r : requests) {
        if (r.rfind("#FH,", 0) == 0 || r.rfind("#SR,", 0) == 0) {
            sets.push_back(r);
        }
    }
    return sets;
}

}  // namespace

TEST_F(Setup, MotorIsSetOnlyWhereItDiffers) {
    struct Case {
        int speed;
        int slew;
        std::vector<std::string> sets;
    };
    const Case cases[] = {
        {2500, 200, {}},
        {1000, 200, {"#FH,2500,2500"}},
        {2500, 100, {"#SR,200,200"}},
        {1000, 100, {"#FH,2500,2500", "#SR,200,200"}},
    };
    for (const Case& c : cases) {
        SIMOPTIONS options = Options();
        options.motorSpeed = c.speed;
        options.slewRate = c.slew;
        StartInstruments(options);
        EXPECT_EQ(doc->SetupInstruments(), 1);
        EXPECT_EQ(BandSetCommands(Requests()), c.sets) << c.speed << "/" << c.slew;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Setup, ReadsIdentityGridAndCalibrationInOrder) {
    ASSERT_EQ(doc->SetupInstruments(), 1);
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{"#",  "#ID", "#SER", "#VER", "#VTIME", "#FH", "#SR",
                                        "",   "ID",  "SER",  "ST",   "FV",     "FT",  "C0",
                                        "C1", "C2",  "C3",   "C4",   "C5",     "CALB"}));
    EXPECT_STREQ(doc->m_radData.m_type, "KT-530VN");
    EXPECT_NEAR(doc->m_radData.m_wavelength[0], 299.6 + 0.3915 - 1e-6, 1e-4);
    EXPECT_EQ(doc->m_radData.m_calib[100], CSimInstrument::Calibration(100));
    EXPECT_EQ(doc->GetSensorInfoText(),
              "Sensor ID: KT-530\nSensor S/N: 53012345\nSensor Type: KT-530VN\n"
              "Version: V1.07 (2023/04/18 10:22:31)\nC0: 2.996000E+02\nC1: 3.915000E-01\n"
              "C2: -1.000000E-06\nC3: 4.000000E-11\nC4: 0.000000E+00\nC5: 0.000000E+00\n");
}

// A silent band fails its check before the negotiation; later failures show their own message.
TEST_F(Setup, EachFailingStepShowsItsOwnMessage) {
    struct Case {
        bool bandOff;
        std::vector<std::string> refused;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {true,
         {},
         {"ZEB Com. Error\n(Timeout)\n00:00:00..()",
          "ShadowBand Communication Error\nNegotiation Fault.\nCheck Connection with Power Line"}},
        {false, {"#VER"}, {"ShadowBand Communication Error\n(System Information reading fault)"}},
        {false, {"#FH"}, {"ShadowBand Communication Error\n(Parameter Setting fault)"}},
        {false, {"#SR"}, {"Motor setting fault(2)"}},
        {false, {"FV"}, {"KT-530 Communication Error!\n(Sensor Information reading fault)"}},
        {false, {"CALB"}, {"KT-530 Communication Error!\n(Calibration value reading fault)"}},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        SIMFAULTS faults;
        faults.bandOff = c.bandOff;
        faults.refused = c.refused;
        SetFaults(faults);
        EXPECT_EQ(doc->SetupInstruments(), 0);
        EXPECT_EQ(messages.shown, c.messages);
    }
}

TEST_F(Setup, SilentSpectroradiometerClosesThePortAndAsksForAnother) {
    SIMFAULTS faults;
    faults.spectroOff = true;
    SetFaults(faults);
    FakePortChooser chooser;  // cancels
    EXPECT_FALSE(doc->OnNewDocument(chooser));
    EXPECT_EQ(chooser.shown, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0],
              "KT-530 Communication Error!\nNegotiation Fault.\nCheck Connection with Power Line.");
    EXPECT_FALSE(doc->m_link.IsOpen());
}

TEST_F(Setup, FirstStartAsksForAPortAndStoresItAtOnce) {
    doc->m_link.ClosePort();
    doc->m_comPort = -1;
    FakePortChooser chooser;
    chooser.choices = {7, 1};  // 7 names no device: the loop asks again
    ASSERT_TRUE(doc->OnNewDocument(chooser));
    EXPECT_EQ(chooser.shown, 2);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(doc->m_link.IsOpen());
    COrvelSettings stored(folder);
    ASSERT_EQ(stored.LoadSaveConfig(doc->m_cfgPath, COrvelSettings::kLoad), 1);
    EXPECT_EQ(stored.m_comPort, 1);
}
