// COrvelSettings: the document's settings that survive a restart, and the "Orvel.cfg" file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/GraphParam.h"

class CArchiveReader;
class CArchiveWriter;

inline constexpr uint32_t kSettingsFormat = 200;
inline constexpr const char* kSettingsFileName = "Orvel.cfg";
inline constexpr int kExposureIndexMax = 8;  // last entry of the exposure table
inline constexpr int64_t kSecondsPerDay = 86400;
inline constexpr int64_t kIntervalPeriodMin = 60;  // 1 minute, the dialog's least period
inline constexpr int64_t kIntervalPeriodMax = int64_t{9999} * 60;  // 9999 minutes, its greatest
// A settings file is a few hundred bytes; anything beyond this is not read (a short file).
inline constexpr size_t kSettingsFileReadLimit = 16u << 20;

class COrvelSettings {
public:
    enum { kLoad = 0, kStore = 1 };

    // exeDir is the folder of the executable; a missing trailing '/' is added. Sets every
    // setting to its default; reading the file is left to the owner.
    explicit COrvelSettings(std::string exeDir);
    virtual ~COrvelSettings() = default;

    // Every stored setting back to its default (the paths from m_exeDir, the wavelength axis
    // from m_availMin and m_availMax).
    void ResetToDefaults();

    // mode kLoad: defaults, then the file's fields; 1 when all 29 were read, 0 otherwise.
    // mode kStore: writes all fields through a temporary file renamed over path; always 1.
    int LoadSaveConfig(const std::string& path, int mode);

    // The same two directions on bytes in memory. LoadFromBytes resets to the defaults first.
    int LoadFromBytes(const uint8_t* data, size_t size);
    std::string StoreToBytes() const;

    int32_t m_comPort = -1;
    double m_longitude = 135.0;
    double m_latitude = 35.0;
    double m_edgeAngle = 10.0;
    std::string m_graphTitle;
    std::string m_dataMemo;
    int64_t m_intervalStart = 21600;  // seconds from local midnight (06:00)
    int64_t m_intervalEnd = 68400;    // 19:00, inclusive
    int64_t m_intervalPeriod = 600;   // seconds
    int32_t m_exposureIndex = 0;
    std::string m_dataFolder;
    std::string m_intervalFile;
    std::string m_saveFile;
    std::string m_csvFile;
    int32_t m_autoFileName = 1;
    int32_t m_autoStart = 0;
    GRAPHPARAM m_graphParam;

    // Not stored.
    double m_availMin = 300.0;
    double m_availMax = 1100.0;
    int32_t m_drawWidth = 0;
    int32_t m_drawHeight = 0;
    std::string m_exeDir;
    std::string m_cfgPath;

private:
    int LoadConfig(const std::string& path);
    void StoreConfig(const std::string& path) const;
    bool ReadFields(CArchiveReader& in);
    bool ReadGraphParam(CArchiveReader& in);
    void WriteFields(CArchiveWriter& out) const;
    void ClampLoadedValues();
};
