// The measurement sequence: band check, sun and band angle, four positions, log and parking.
#include "measurement/MeasurementSequence.h"

#include <cstring>

#include "data/LocalTime.h"
#include "data/RecordComponents.h"
#include "document/OrvelDoc.h"
#include "measurement/BandAngle.h"
#include "measurement/ExposureTable.h"
#include "measurement/IClock.h"
#include "measurement/IProgressDisplay.h"
#include "measurement/Sun.h"
#include "resources/StringTable.h"

namespace {

constexpr int kBandCheckTries = 4;
constexpr int kAttempts = 4;
constexpr int kUnderExposed = 7000;
constexpr int kMaxAdjustments = 15;
constexpr int kCountBlock = 0;

int32_t Low32(int64_t t) {
    return static_cast<int32_t>(static_cast<uint32_t>(t));
}

int MaxCount(const int16_t (&counts)[kPixelCount]) {
    int max = counts[0];
    for (int16_t c : counts) {
        max = c > max ? c : max;
    }
    return max;
}

// The index stays inside the table even when a settings file held something else.
int ClampIndex(int idx) {
    return idx < 0 ? 0 : (idx >= kExposureCount ? kExposureCount - 1 : idx);
}

}  // namespace

CMeasurementSequence::CMeasurementSequence(COrvelDoc& doc, IProgressDisplay& progress,
                                           const IClock& clock)
    : m_doc(doc), m_progress(progress), m_clock(clock) {}

int CMeasurementSequence::RunMeasurement(int64_t t, const StampAfterBandCheck& stamp) {
    if (IsBusy()) {
        return 0;
    }
    // The band check's messages run modal loops in which later slots fall due; they are
    // refused while the check is still running.
    m_checkingBand = true;
    const bool answered = CheckBandAnswers();
    m_checkingBand = false;
    if (!answered) {
        return 0;
    }
    if (stamp) {
        t = stamp(t);
    }
    m_measuring = 1;
    CSun sun;
    sun.ComputeAt(t, m_doc.m_longitude, m_doc.m_latitude);
    const double refracted = RefractedElevation(sun.m_elevation);
    const double beta = BandAngle(sun.m_azimuth, refracted);
    m_bandAngle = beta;
    int result = 0;
    if (refracted >= 0) {
        MeasurePositions(t, beta);
        result = 1;
    }
    ParkBand(t, beta);
    m_measuring = 0;
    return result;
}

bool CMeasurementSequence::CheckBandAnswers() {
    for (int i = 0; i < kBandCheckTries; ++i) {
        if (m_doc.m_link.CheckBand() == 1) {
            return true;
        }
    }
    return false;
}

void CMeasurementSequence::MeasurePositions(int64_t t, double beta) {
    RADDATA record;
    std::memset(&record, 0, sizeof record);
    record.measTime = Low32(t);
    CRadData& data = m_doc.m_radData;
    data.RemoveLast(data.GetSize());
    m_doc.UpdateAllViews();

    const double edge = m_doc.m_edgeAngle;
    const double targets[kSpectraPerRecord] = {0.0, beta - edge, beta, beta + edge};
    std::string log;
    for (int i = 0; i < kSpectraPerRecord; ++i) {
        if (i > 0) {
            m_doc.m_link.MoveBand(targets[i]);
        }
        bool quitting = false;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            const int ok = i == 0 ? AcquireAuto(record.spec[0], m_doc.m_exposureIndex)
                                  : AcquireFixed(record.spec[i], m_doc.m_exposureIndex);
            if (ok == 1) {
                break;
            }
            // The program is ending and cut the wait short: no instrument fault to log, and
            // the record is dropped as a Break drops it.
            quitting = m_doc.m_link.WaitPump().QuitRequested();
            if (quitting) {
                break;
            }
            log += LogLine(i, attempt);
        }
        record.spec[i].valid = 1;
        data.RemoveLast(data.GetSize());
        if (m_break == 1 || quitting) {
            break;
        }
        data.AddData(record);
        m_doc.UpdateAllViews();
    }
    m_doc.SetModifiedFlag(true);
    if (!log.empty()) {
        COrvelDoc::AppendTextFile(m_doc.m_exeDir + "log.txt", log);
    }
}

std::string CMeasurementSequence::LogLine(int position, int attempt) const {
    struct tm local {};
    std::string stamp;
    if (m_clock.LocalTime(m_clock.Now(), local)) {
        stamp = FormatTime("%Y,%m,%d,%H,%M,%S", local);
    }
    return stamp + ",meas" + std::to_string(position) + " error(" + std::to_string(attempt) + ")\n";
}

// The band leaves the sky free: home first when the day's last slot has passed, else to the
// side the sun is not on.
void CMeasurementSequence::ParkBand(int64_t t, double beta) {
    const int64_t second = m_clock.LocalSecondOfDay(t);
    if (second + m_doc.m_intervalPeriod > m_doc.m_intervalEnd) {
        m_doc.m_link.BandOrigin();
        m_doc.m_link.MoveBand(-kParkAngle);
    } else {
        m_doc.m_link.MoveBand(beta >= 0 ? kParkAngle : -kParkAngle);
    }
}

int CMeasurementSequence::AcquireAuto(SPECDATA& spec, int& exposureIndex) {
    return Acquire(spec, exposureIndex, true);
}

int CMeasurementSequence::AcquireFixed(SPECDATA& spec, int exposureIndex) {
    return Acquire(spec, exposureIndex, false);
}

int CMeasurementSequence::FailAfterShow() {
    m_progress.Hide();
    return 0;
}

int CMeasurementSequence::Acquire(SPECDATA& spec, int& exposureIndex, bool searchExposure) {
    m_break = 0;
    CZeb530& link = m_doc.m_link;
    if (link.CheckSpectro() != 1) {
        return 0;
    }
    m_progress.SetMessage("");
    m_progress.Show();
    m_progress.SetMessage(LoadResString(IDS_PROGRESS_MEAS_NOW, m_doc.m_language));
    if (link.GetStatus(spec) != 1) {
        return FailAfterShow();
    }
    link.OpenShutter();

    int16_t(&light)[kPixelCount] = m_light;
    int16_t(&dark)[kPixelCount] = m_dark;
    std::memset(dark, 0, sizeof dark);  // what a Break leaves: the record is discarded anyway
    int idx = ClampIndex(exposureIndex);
    int32_t tacq = 0;
    if (ReadLight(light, idx, searchExposure, tacq) != 1) {
        return FailAfterShow();
    }
    link.CloseShutter();

    const int exposure = EXPOSURE_TABLE[idx];
    spec.exposure = exposure;
    spec.time = tacq;
    if (searchExposure) {
        exposureIndex = idx;
    }
    if (m_break != 1) {
        m_progress.SetMessage(ExposureProgressText(IDS_PROGRESS_DARK, m_doc.m_language, exposure));
        if (MeasureAndRead(exposure, dark) != 1) {
            return FailAfterShow();
        }
    }
    for (int k = 0; k < kPixelCount; ++k) {
        const bool saturated = light[k] > CRecordComponents::kOverExposedCount;
        spec.count[k] = saturated ? 0 : light[k];
        spec.dark[k] = saturated ? 0 : dark[k];
    }
    m_progress.Hide();
    return 1;
}

// Light readings: one at a fixed exposure, or the search that walks the table until the
// highest count lies between the two limits, an end of the table is reached, or 15 changes
// were made.
int CMeasurementSequence::ReadLight(int16_t (&light)[kPixelCount], int& idx, bool searchExposure,
                                    int32_t& tacq) {
    int adjustments = 0;
    for (;;) {
        tacq = Low32(m_clock.Now());
        const int exposure = EXPOSURE_TABLE[idx];
        m_progress.SetMessage(ExposureProgressText(IDS_PROGRESS_LIGHT, m_doc.m_language, exposure));
        if (MeasureAndRead(exposure, light) != 1) {
            return 0;
        }
        if (!searchExposure) {
            return 1;
        }
        const int max = MaxCount(light);
        if (max <= kUnderExposed) {
            if (EXPOSURE_TABLE[idx + 1] == 0) {
                return 1;
            }
            ++idx;
        } else if (max < CRecordComponents::kOverExposedCount) {
            return 1;
        } else {
            if (idx <= 0) {
                return 1;
            }
            --idx;
        }
        if (++adjustments >= kMaxAdjustments) {
            return 1;
        }
    }
}

int CMeasurementSequence::MeasureAndRead(int exposure, int16_t (&counts)[kPixelCount]) {
    CZeb530& link = m_doc.m_link;
    if (link.Measure(exposure, 0) != 1) {
        return 0;
    }
    return link.ReadCounts(counts, kCountBlock);
}
