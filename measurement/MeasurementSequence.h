// CMeasurementSequence: one measurement of four band positions, with exposure search and parking.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "data/RadRecord.h"

class COrvelDoc;
class IClock;
class IProgressDisplay;

class CMeasurementSequence {
public:
    CMeasurementSequence(COrvelDoc& doc, IProgressDisplay& progress, const IClock& clock);

    // Gives the time stamp to measure with once the band has answered; a band check that
    // outlasted its slot (each silent try shows a message) then measures the slot due now.
    // The band rests at this angle (mirrored to the side of the sun) between sequences.
    static constexpr double kParkAngle = 135.0;

    using StampAfterBandCheck = std::function<int64_t(int64_t)>;

    // Runs one sequence for time stamp t: 1 when it ran (also when Break ended it), 0 when
    // nothing was measured (already running or checking the band, band silent, sun below the
    // horizon).
    int RunMeasurement(int64_t t, const StampAfterBandCheck& stamp = {});
    // Position 0: acquisition with exposure search; the chosen index is written back.
    int AcquireAuto(SPECDATA& spec, int& exposureIndex);
    // Positions 1 to 3: acquisition at the given exposure index.
    int AcquireFixed(SPECDATA& spec, int exposureIndex);
    // The Break button of the progress dialog.
    void OnMeasBreak() { m_break = 1; }
    bool IsMeasuring() const { return m_measuring != 0; }
    // Measuring or still checking the band: a second sequence must not start.
    bool IsBusy() const { return m_measuring != 0 || m_checkingBand; }

    // The band angle of the last sequence that passed the band check (for tests and display).
    double LastBandAngle() const { return m_bandAngle; }

    int m_measuring = 0;
    int m_break = 0;

private:
    int Acquire(SPECDATA& spec, int& exposureIndex, bool searchExposure);
    int ReadLight(int16_t (&light)[kPixelCount], int& idx, bool searchExposure, int32_t& tacq);
    int MeasureAndRead(int exposure, int16_t (&counts)[kPixelCount]);
    void MeasurePositions(int64_t t, double bandAngle);
    bool CheckBandAnswers();
    void ParkBand(int64_t t, double bandAngle);
    std::string LogLine(int position, int attempt) const;
    int FailAfterShow();

    COrvelDoc& m_doc;
    IProgressDisplay& m_progress;
    const IClock& m_clock;
    double m_bandAngle = 0.0;
    bool m_checkingBand = false;
    int16_t m_light[kPixelCount] = {};
    int16_t m_dark[kPixelCount] = {};
};
