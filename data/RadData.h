// CRadData: the data set of sensor identity, wavelength grid, calibration and measurement records.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/NonCopyable.h"
#include "data/RadRecord.h"

inline constexpr int kTextFieldSize = 32;  // instrument texts: 31 characters and a NUL
inline constexpr int kCoefCount = 6;

class CRadData : CNonCopyable {
public:
    CRadData();
    ~CRadData();

    // Records. AddData returns the new record's index, or -1 when memory ran out (set unchanged).
    int AddData(const RADDATA& record);
    // Deletes the last n records; returns false (having deleted what there was) when n exceeds
    // the count or is negative.
    bool RemoveLast(int n);
    int GetSize() const { return static_cast<int>(m_records.size()); }
    RADDATA* GetRecord(int index);
    const RADDATA* GetRecord(int index) const;

    void CopyHeader(const CRadData& other);
    // Stores both indices; returns false when record is not in [0, count).
    bool Select(int record, int spec);

    // Rebuilds m_wavelength from the six coefficient texts.
    void UpdateWavelengths();
    // Copies text into a 32-byte identity field, truncated to 31 characters.
    static void SetField(char (&field)[kTextFieldSize], const std::string& text);

    // Derived quantities of the selected spectrum; 0.0 when the selection holds no record.
    double GetIrradiance(double wl) const;
    double GetPhotonIrradiance(double wl) const;
    double GetPAR() const;
    double GetPhoton() const;
    double GetLum() const;
    double GetUVA() const;
    // PAR, PHOTON, LUM and UV-A of the selected spectrum when it is dark at every whole
    // nanometre outside [fromNm, toNm]: the same values as the four above, to the last bit,
    // from the nanometres of that window alone.
    void GetIntegralsWithin(int fromNm, int toNm, double (&out)[4]) const;
    // Spectral irradiance of pixel i of a spectrum (W/m2/um); 0.0 for an unmeasured position.
    double PixelValue(const SPECDATA& spec, int i) const;
    // PixelValue of pixels first..last into out[first..last].
    void PixelValues(const SPECDATA& spec, int first, int last, double* out) const;

    // Data file (".wsx") and record text.
    void GetHeaderText(std::string& out) const;
    int SaveFile(const char* path) const;
    // Appends one record in place to a data file whose header and calibration are exactly this
    // set's, after the file's last whole record (a torn tail is cut off first). The bytes on
    // disk are those SaveFile of the file's records plus this one would give. Returns 1 on
    // success, 0 when the file is missing, its header differs or a write fails; the caller then
    // rewrites the whole file.
    int AppendRecordInPlace(const char* path, const RADDATA& record) const;
    // Reads a data file into a fresh set: the record count, -1 (not a data file), -2 (cannot
    // be opened).
    int LoadFile(const char* path);
    // Like LoadFile but reads only the header and calibration; returns the number of whole
    // records the file holds without reading them.
    int LoadHeader(const char* path);
    // Record text of m_curRecord; false (out emptied) when no record is selected or its time
    // cannot be converted to local time.
    bool GetRecordText(std::string& out);

    double m_version = 1.0;
    std::string m_memo;
    char m_id[kTextFieldSize] = {};
    char m_serial[kTextFieldSize] = {};
    char m_type[kTextFieldSize] = {};
    char m_fwVersion[kTextFieldSize] = {};
    char m_fwTime[kTextFieldSize] = {};
    char m_coef[kCoefCount][kTextFieldSize] = {};
    float m_wavelength[kPixelCount] = {};
    float m_calib[kPixelCount];
    double m_longitude = 0.0;
    double m_latitude = 0.0;
    std::vector<std::unique_ptr<RADDATA>> m_records;
    int m_curRecord = 0;
    int m_curSpec = 0;
    // Bytes after the last whole record of the file last read by LoadFile (a torn append).
    long long m_trailingBytes = 0;
    // Byte offset of the first record in the file last read (the end of its calibration block).
    long long m_recordOffset = 0;

private:
    int Load(const char* path, bool withRecords);
    void StoreHeaderValue(std::string_view key, std::string_view value);
    std::string FileImagePrefix() const;
    const SPECDATA* SelectedSpectrum() const;
    double Interpolate(const SPECDATA& spec, double wl) const;
};
