// CRadData: records, selection, the wavelength grid and the derived quantities.
#include "data/RadData.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "data/CLocaleFormat.h"
#include "data/LuminousEfficiency.h"

namespace {

constexpr double kPerSecond = 1000.0;
constexpr double kIndexScale = 2047.0;
constexpr double kNmPerUm = 1000.0;
constexpr double kPhotonConstant = 0.119625512456;
constexpr double kLuminousEfficacy = 683.0;

// Whole nanometres a sum visits: all of them, or a window outside which the spectrum is known to
// be dark.
struct NmWindow {
    int from = std::numeric_limits<int>::min();
    int to = std::numeric_limits<int>::max();
    int First(int first) const { return std::max(first, from); }
    int Last(int last) const { return std::min(last, to); }
    bool Holds(int nm) const { return nm >= from && nm <= to; }
};

// Trapezoid sum of f over whole nanometres first..last, divided by 1000. The terms outside the
// window are skipped: where the spectrum is dark they are +0.0, and adding +0.0 changes no sum
// that starts from +0.0, so the result is the same to the last bit.
template <typename F>
double Trapezoid(int first, int last, F f, NmWindow window = {}) {
    double s = window.Holds(first) ? 0.5 * f(first) : 0.0;
    for (int nm = window.First(first + 1); nm <= window.Last(last - 1); ++nm) {
        s += f(nm);
    }
    if (window.Holds(last)) {
        s += 0.5 * f(last);
    }
    return s / kNmPerUm;
}

template <typename F>
double Luminous(F irradiance, NmWindow window = {}) {
    double s = 0.0;
    for (int nm = window.First(kLumFirstNm); nm <= window.Last(kLumLastNm); ++nm) {
        s += irradiance(nm) * LuminousEfficiency(nm);
    }
    return s / kNmPerUm * kLuminousEfficacy;
}

}  // namespace

CRadData::CRadData() {
    for (float& c : m_calib) {
        c = 1.0f;
    }
}

CRadData::~CRadData() {
    while (!m_records.empty()) {
        m_records.pop_back();
    }
}

int CRadData::AddData(const RADDATA& record) {
    const int index = GetSize();
    try {
        m_records.push_back(std::make_unique<RADDATA>(record));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return index;
}

bool CRadData::RemoveLast(int n) {
    if (n < 0) {
        return false;
    }
    for (int k = 0; k < n; ++k) {
        if (m_records.empty()) {
            return false;
        }
        m_records.pop_back();
        if (!m_records.empty() && m_curRecord >= GetSize()) {
            m_curRecord = GetSize() - 1;
        }
    }
    return true;
}

RADDATA* CRadData::GetRecord(int index) {
    return index >= 0 && index < GetSize() ? m_records[static_cast<size_t>(index)].get() : nullptr;
}

const RADDATA* CRadData::GetRecord(int index) const {
    return index >= 0 && index < GetSize() ? m_records[static_cast<size_t>(index)].get() : nullptr;
}

void CRadData::CopyHeader(const CRadData& other) {
    m_memo = other.m_memo;
    std::memcpy(m_id, other.m_id, sizeof m_id);
    std::memcpy(m_serial, other.m_serial, sizeof m_serial);
    std::memcpy(m_type, other.m_type, sizeof m_type);
    std::memcpy(m_fwVersion, other.m_fwVersion, sizeof m_fwVersion);
    std::memcpy(m_fwTime, other.m_fwTime, sizeof m_fwTime);
    std::memcpy(m_coef, other.m_coef, sizeof m_coef);
    std::memcpy(m_wavelength, other.m_wavelength, sizeof m_wavelength);
    std::memcpy(m_calib, other.m_calib, sizeof m_calib);
    m_longitude = other.m_longitude;
    m_latitude = other.m_latitude;
}

bool CRadData::Select(int record, int spec) {
    m_curRecord = record;
    m_curSpec = spec;
    return record >= 0 && record < GetSize();
}

void CRadData::UpdateWavelengths() {
    double c[kCoefCount];
    for (int k = 0; k < kCoefCount; ++k) {
        char text[kTextFieldSize];
        std::memcpy(text, m_coef[k], sizeof text);
        text[kTextFieldSize - 1] = '\0';
        c[k] = ParseDoubleC(text);
    }
    for (int i = 0; i < kPixelCount; ++i) {
        const double p = i + 1;
        const double p2 = p * p;
        const double p3 = p2 * p;
        const double p4 = p3 * p;
        const double p5 = p4 * p;
        const double wl = c[5] * p5 + c[4] * p4 + c[3] * p3 + c[2] * p2 + c[1] * p + c[0];
        m_wavelength[i] = static_cast<float>(wl);
    }
}

void CRadData::SetField(char (&field)[kTextFieldSize], const std::string& text) {
    const size_t n = text.size() < kTextFieldSize - 1 ? text.size() : kTextFieldSize - 1;
    std::memset(field, 0, kTextFieldSize);
    std::memcpy(field, text.data(), n);
}

const SPECDATA* CRadData::SelectedSpectrum() const {
    const RADDATA* record = GetRecord(m_curRecord);
    if (record == nullptr || m_curSpec < 0 || m_curSpec >= kSpectraPerRecord) {
        return nullptr;
    }
    return &record->spec[m_curSpec];
}

// A position that was never measured has exposure 0: it contributes no light.
double CRadData::PixelValue(const SPECDATA& spec, int i) const {
    if (spec.exposure == 0) {
        return 0.0;
    }
    const int d = spec.count[i] - spec.dark[i];
    const float value = static_cast<float>(d) * m_calib[i] / static_cast<float>(spec.exposure);
    return static_cast<double>(value) * kPerSecond;
}

// The same arithmetic as PixelValue with the exposure test out of the loop, so the compiler
// can compute several pixels at once.
void CRadData::PixelValues(const SPECDATA& spec, int first, int last, double* out) const {
    if (spec.exposure == 0) {
        std::fill(out + first, out + last + 1, 0.0);
        return;
    }
    const float exposure = static_cast<float>(spec.exposure);
    for (int i = first; i <= last; ++i) {
        const int d = spec.count[i] - spec.dark[i];
        out[i] = static_cast<double>(static_cast<float>(d) * m_calib[i] / exposure) * kPerSecond;
    }
}

// Outside [first pixel, last pixel] of the grid (and for NaN) there is no reading: 0.0. The
// index walk is bounded, so a grid that does not increase gives a defined neighbour
// interpolation instead of a walk off the table.
double CRadData::Interpolate(const SPECDATA& spec, double wl) const {
    const double first = m_wavelength[0];
    const double last = m_wavelength[kPixelCount - 1];
    if (wl == last) {
        return PixelValue(spec, kPixelCount - 1);
    }
    if (!(wl >= first && wl < last)) {
        return 0.0;
    }
    const double guess = (wl - first) / (last - first) * kIndexScale;
    int i = guess >= 0.0 && guess < kIndexScale ? static_cast<int>(guess) : 0;
    while (i > 0 && m_wavelength[i] > wl) {
        --i;
    }
    while (i < kPixelCount - 2 && wl >= m_wavelength[i + 1]) {
        ++i;
    }
    const double ea = PixelValue(spec, i);
    const double eb = PixelValue(spec, i + 1);
    const double wa = m_wavelength[i];
    const double wb = m_wavelength[i + 1];
    if (wb == wa) {
        return ea;
    }
    return (eb - ea) * (wl - wa) / (wb - wa) + ea;
}

double CRadData::GetIrradiance(double wl) const {
    const SPECDATA* spec = SelectedSpectrum();
    return spec == nullptr ? 0.0 : Interpolate(*spec, wl);
}

double CRadData::GetPhotonIrradiance(double wl) const {
    return GetIrradiance(wl) * wl / kNmPerUm / kPhotonConstant;
}

double CRadData::GetPAR() const {
    return Trapezoid(400, 700, [this](int nm) { return GetIrradiance(nm); });
}

double CRadData::GetPhoton() const {
    return Trapezoid(400, 700, [this](int nm) { return GetPhotonIrradiance(nm); });
}

double CRadData::GetLum() const {
    return Luminous([this](int nm) { return GetIrradiance(nm); });
}

double CRadData::GetUVA() const {
    return Trapezoid(315, 400, [this](int nm) { return GetIrradiance(nm); });
}

void CRadData::GetIntegralsWithin(int fromNm, int toNm, double (&out)[4]) const {
    const NmWindow window{fromNm, toNm};
    out[0] = Trapezoid(
        400, 700, [this](int nm) { return GetIrradiance(nm); }, window);
    out[1] = Trapezoid(
        400, 700, [this](int nm) { return GetPhotonIrradiance(nm); }, window);
    out[2] = Luminous([this](int nm) { return GetIrradiance(nm); }, window);
    out[3] = Trapezoid(
        315, 400, [this](int nm) { return GetIrradiance(nm); }, window);
}
