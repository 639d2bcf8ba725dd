// CMeasurementSequence: one measurement of four band positions, with exposure search and parking.
#pragma once

#include <cstdint>
#include <string>

#include "data/RadRecord.h"

class COrvelDoc;
class IClock;
class IProgressDisplay;

class CMeasurementSequence {
public:
    CMeasurementSequence(COrvelDoc& doc, IProgressDisplay& progress, const IClock& clock);

    // Runs one sequence for time stamp t: 1 when it ran (also when Break ended it), 0 when
    // nothing was measured (already running, band silent, sun below the horizon).
    int RunMeasurement(int64_t t);
    // Position 0: acquisition with exposure search; the chosen index is written back.
    int AcquireAuto(SPECDATA& spec, int& exposureIndex);
    // Positions 1 to 3: acquisition at the given exposure index.
    int AcquireFixed(SPECDATA& spec, int exposureIndex);
    // The Break button of the progress dialog.
    void OnMeasBreak() { m_break = 1; }
    bool IsMeasuring() const { return m_measuring != 0; }

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
    int16_t m_light[kPixelCount] = {};
    int16_t m_dark[kPixelCount] = {};
};
