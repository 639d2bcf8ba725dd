// NetCDF-4 export: dimensions, CF attributes, one record's hyperslabs at a time.
#include "NetCdfExport.h"

#include <fcntl.h>
#include <netcdf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "RecordIndex.h"
#include "WsxTool.h"
#include "data/CLocaleFormat.h"
#include "data/QuantityWeights.h"
#include "data/RecordComponents.h"

#ifndef HALVO_VERSION
#define HALVO_VERSION "unknown"
#endif

namespace {

constexpr size_t kSmallChunk = 1024;  // records per chunk of the one-value-per-record variables
constexpr size_t kChunkCacheBytes = 256 * 1024;
constexpr size_t kChunkCacheSlots = 31;
constexpr float kFillFloat = NC_FILL_FLOAT;
constexpr double kFillDouble = NC_FILL_DOUBLE;
constexpr const char* kFlagMeanings =
    "position_not_measured over_exposed no_direct_beam side_bands_disagree low_sun inconsistent";
constexpr const char* kComponentNames[CRecordComponents::kComponentCount] = {
    "global", "diffuse", "direct_horizontal", "direct_normal"};
constexpr const char* kComponentTitles[CRecordComponents::kComponentCount] = {
    "global horizontal", "diffuse horizontal", "direct horizontal", "direct normal"};

std::string FieldText(const char* field) {
    return std::string(field, strnlen(field, 32));
}

// Thin layer over the C library: the first failing call is remembered and the rest skipped.
class CNcFile {
public:
    bool Create(const std::string& path) {
        return Check(nc_create(path.c_str(), NC_CLOBBER | NC_NETCDF4, &m_id));
    }
    bool Close() {
        if (m_id < 0) {
            return m_status == NC_NOERR;
        }
        const int status = nc_close(m_id);
        m_id = -1;
        return Check(status);
    }
    ~CNcFile() {
        if (m_id >= 0) {
            nc_close(m_id);
        }
    }
    bool Check(int status) {
        if (m_status == NC_NOERR && status != NC_NOERR) {
            m_status = status;
        }
        return m_status == NC_NOERR;
    }
    int Dim(const char* name, size_t length) {
        int id = -1;
        Check(m_status == NC_NOERR ? nc_def_dim(m_id, name, length, &id) : m_status);
        return id;
    }
    int Var(const char* name, nc_type type, std::vector<int> dims, std::vector<size_t> chunks) {
        int id = -1;
        if (m_status != NC_NOERR) {
            return id;
        }
        Check(nc_def_var(m_id, name, type, static_cast<int>(dims.size()), dims.data(), &id));
        if (!chunks.empty() && m_status == NC_NOERR) {
            Check(nc_def_var_chunking(m_id, id, NC_CHUNKED, chunks.data()));
            // Each chunk is written once and never read back: a cache of a few chunks keeps
            // memory flat however many records follow (the library's default grows to 16 MB a
            // variable).
            Check(nc_set_var_chunk_cache(m_id, id, kChunkCacheBytes, kChunkCacheSlots, 1.0f));
        }
        return id;
    }
    void Text(int var, const char* name, const std::string& value) {
        if (m_status == NC_NOERR) {
            Check(nc_put_att_text(m_id, var, name, value.size(), value.c_str()));
        }
    }
    void Double(int var, const char* name, double value) {
        if (m_status == NC_NOERR) {
            Check(nc_put_att_double(m_id, var, name, NC_DOUBLE, 1, &value));
        }
    }
    void FillFloat(int var) {
        if (m_status == NC_NOERR) {
            Check(nc_def_var_fill(m_id, var, 0, &kFillFloat));
        }
    }
    void FillDouble(int var) {
        if (m_status == NC_NOERR) {
            Check(nc_def_var_fill(m_id, var, 0, &kFillDouble));
        }
    }
    int Id() const { return m_id; }
    int Status() const { return m_status; }
    bool Ok() const { return m_status == NC_NOERR; }

private:
    int m_id = -1;
    int m_status = NC_NOERR;
};

struct Variables {
    int time = -1;
    int wavelength = -1;
    int position = -1;
    int longitude = -1;
    int latitude = -1;
    int spectral = -1;
    int component[CRecordComponents::kComponentCount] = {-1, -1, -1, -1};
    int par[CRecordComponents::kComponentCount] = {};
    int photon[CRecordComponents::kComponentCount] = {};
    int lum[CRecordComponents::kComponentCount] = {};
    int uva[CRecordComponents::kComponentCount] = {};
    int temperature = -1;
    int exposure = -1;
    int zenith = -1;
    int azimuth = -1;
    int flags = -1;
};

int QuantityVar(CNcFile& nc, int timeDim, const std::string& name, const char* units,
                const std::string& longName, const char* standardName) {
    const int id = nc.Var(name.c_str(), NC_DOUBLE, {timeDim}, {kSmallChunk});
    nc.Text(id, "units", units);
    nc.Text(id, "long_name", longName);
    if (standardName != nullptr) {
        nc.Text(id, "standard_name", standardName);
    }
    nc.FillDouble(id);
    return id;
}

void DefineQuantities(CNcFile& nc, int timeDim, Variables& v) {
    for (int c = 0; c < CRecordComponents::kComponentCount; ++c) {
        const std::string name = kComponentNames[c];
        const std::string title = kComponentTitles[c];
        const bool global = c == CRecordComponents::kGlobal;
        v.par[c] = QuantityVar(
            nc, timeDim, "par_" + name, "W m-2",
            title + " photosynthetically active radiation, 400-700 nm",
            global ? "surface_downwelling_photosynthetic_radiative_flux_in_air" : nullptr);
        v.photon[c] =
            QuantityVar(nc, timeDim, "photon_" + name, "umol m-2 s-1",
                        title + " photosynthetic photon flux, 400-700 nm",
                        global ? "surface_downwelling_photosynthetic_photon_flux_in_air" : nullptr);
        v.lum[c] =
            QuantityVar(nc, timeDim, "illuminance_" + name, "lx", title + " illuminance", nullptr);
        v.uva[c] = QuantityVar(nc, timeDim, "uva_" + name, "W m-2",
                               title + " UV-A irradiance, 315-400 nm", nullptr);
    }
}

void DefineSpectra(CNcFile& nc, int timeDim, int positionDim, int wavelengthDim, Variables& v) {
    v.spectral = nc.Var("spectral_irradiance", NC_FLOAT, {timeDim, positionDim, wavelengthDim},
                        {1, kSpectraPerRecord, kPixelCount});
    nc.Text(v.spectral, "units", "W m-2 um-1");
    nc.Text(v.spectral, "long_name", "spectral irradiance at each shadow-band position");
    nc.FillFloat(v.spectral);
    for (int c = 0; c < CRecordComponents::kComponentCount; ++c) {
        const std::string name = std::string(kComponentNames[c]) + "_spectral_irradiance";
        v.component[c] = nc.Var(name.c_str(), NC_FLOAT, {timeDim, wavelengthDim}, {1, kPixelCount});
        nc.Text(v.component[c], "units", "W m-2 um-1");
        nc.Text(v.component[c], "long_name",
                std::string(kComponentTitles[c]) + " spectral irradiance");
        nc.FillFloat(v.component[c]);
    }
}

void DefineRecordValues(CNcFile& nc, int timeDim, int positionDim, Variables& v) {
    v.temperature = nc.Var("temperature", NC_FLOAT, {timeDim, positionDim}, {kSmallChunk, 4});
    nc.Text(v.temperature, "units", "degree_Celsius");
    nc.Text(v.temperature, "long_name", "spectroradiometer sensor temperature");
    v.exposure = nc.Var("exposure", NC_INT, {timeDim, positionDim}, {kSmallChunk, 4});
    nc.Text(v.exposure, "units", "ms");
    nc.Text(v.exposure, "long_name", "exposure time, 0 for a position not measured");
    v.zenith = nc.Var("solar_zenith_angle", NC_DOUBLE, {timeDim}, {kSmallChunk});
    nc.Text(v.zenith, "standard_name", "solar_zenith_angle");
    nc.Text(v.zenith, "units", "degree");
    nc.Text(v.zenith, "comment", "from the elevation corrected for atmospheric refraction");
    nc.FillDouble(v.zenith);
    v.azimuth = nc.Var("solar_azimuth_angle", NC_DOUBLE, {timeDim}, {kSmallChunk});
    nc.Text(v.azimuth, "standard_name", "solar_azimuth_angle");
    nc.Text(v.azimuth, "units", "degree");
    nc.Text(v.azimuth, "comment", "clockwise from north");
    nc.FillDouble(v.azimuth);
    v.flags = nc.Var("qc_flags", NC_UBYTE, {timeDim}, {kSmallChunk});
    nc.Text(v.flags, "long_name", "quality flags");
    const unsigned char masks[CRecordComponents::kFlagCount] = {1, 2, 4, 8, 16, 32};
    if (nc.Ok()) {
        nc.Check(nc_put_att_uchar(nc.Id(), v.flags, "flag_masks", NC_UBYTE,
                                  CRecordComponents::kFlagCount, masks));
    }
    nc.Text(v.flags, "flag_meanings", kFlagMeanings);
}

void DefineCoordinates(CNcFile& nc, int timeDim, int positionDim, int wavelengthDim, Variables& v) {
    v.time = nc.Var("time", NC_DOUBLE, {timeDim}, {kSmallChunk});
    nc.Text(v.time, "standard_name", "time");
    nc.Text(v.time, "long_name", "time the measurement started");
    nc.Text(v.time, "units", "seconds since 1970-01-01 00:00:00 UTC");
    nc.Text(v.time, "calendar", "standard");
    nc.Text(v.time, "axis", "T");
    v.wavelength = nc.Var("wavelength", NC_FLOAT, {wavelengthDim}, {});
    nc.Text(v.wavelength, "standard_name", "radiation_wavelength");
    nc.Text(v.wavelength, "long_name", "wavelength of the spectroradiometer's pixel");
    nc.Text(v.wavelength, "units", "nm");
    v.position = nc.Var("position", NC_INT, {positionDim}, {});
    nc.Text(v.position, "long_name", "shadow-band position");
    nc.Text(v.position, "comment",
            "0 global (band away from the sun), 1 side band at band angle - edge, "
            "2 sun shaded, 3 side band at band angle + edge");
    v.longitude = nc.Var("longitude", NC_DOUBLE, {}, {});
    nc.Text(v.longitude, "standard_name", "longitude");
    nc.Text(v.longitude, "units", "degrees_east");
    v.latitude = nc.Var("latitude", NC_DOUBLE, {}, {});
    nc.Text(v.latitude, "standard_name", "latitude");
    nc.Text(v.latitude, "units", "degrees_north");
}

// Distinct memos of the files, in order.
std::string JoinedMemos(const CRecordIndex& index) {
    std::vector<std::string> memos;
    for (int f = 0; f < index.FileCount(); ++f) {
        const std::string& memo = index.Header(static_cast<uint32_t>(f)).m_memo;
        bool seen = false;
        for (const std::string& m : memos) {
            seen = seen || m == memo;
        }
        if (!seen && !memo.empty()) {
            memos.push_back(memo);
        }
    }
    std::string joined;
    for (const std::string& m : memos) {
        joined += (joined.empty() ? "" : " | ") + m;
    }
    return joined;
}

void DefineGlobals(CNcFile& nc, const CRecordIndex& index) {
    const CRadData& h = index.Header(0);
    nc.Text(NC_GLOBAL, "Conventions", "CF-1.8");
    nc.Text(NC_GLOBAL, "title",
            "Spectral irradiance from a rotating shadow-band spectroradiometer");
    nc.Text(NC_GLOBAL, "source", std::string("Halvo ") + HALVO_VERSION);
    nc.Text(NC_GLOBAL, "history",
            std::string("written by halvo-wsx ") + HALVO_VERSION + " export from " +
                std::to_string(index.FileCount()) + " data file(s)");
    nc.Text(NC_GLOBAL, "instrument_id", FieldText(h.m_id));
    nc.Text(NC_GLOBAL, "instrument_serial", FieldText(h.m_serial));
    nc.Text(NC_GLOBAL, "instrument_type", FieldText(h.m_type));
    nc.Text(NC_GLOBAL, "instrument_firmware", FieldText(h.m_fwVersion));
    nc.Text(NC_GLOBAL, "instrument_firmware_time", FieldText(h.m_fwTime));
    nc.Text(NC_GLOBAL, "memo", JoinedMemos(index));
    nc.Double(NC_GLOBAL, "site_longitude", h.m_longitude);
    nc.Double(NC_GLOBAL, "site_latitude", h.m_latitude);
    nc.Text(
        NC_GLOBAL, "qc_flags_thresholds",
        FormatC("over-exposed at %d counts; no direct beam below %.0f %% of global PAR above "
                "%.0f deg; side bands disagree beyond %.0f %%; low sun below %.0f deg; "
                "inconsistent below -%.0f %% of global PAR",
                CRecordComponents::kOverExposedCount, CRecordComponents::kDirectBeamShare * 100,
                CRecordComponents::kDirectBeamElevation,
                CRecordComponents::kSideBandTolerance * 100, CRecordComponents::kLowSunElevation,
                CRecordComponents::kNegativeTolerance * 100));
}

void PutFixed(CNcFile& nc, const Variables& v, const CRadData& h) {
    if (!nc.Ok()) {
        return;
    }
    nc.Check(nc_put_var_float(nc.Id(), v.wavelength, h.m_wavelength));
    const int positions[kSpectraPerRecord] = {0, 1, 2, 3};
    nc.Check(nc_put_var_int(nc.Id(), v.position, positions));
    nc.Check(nc_put_var_double(nc.Id(), v.longitude, &h.m_longitude));
    nc.Check(nc_put_var_double(nc.Id(), v.latitude, &h.m_latitude));
}

float ToFloat(double v) {
    return std::isfinite(v) ? static_cast<float>(v) : kFillFloat;
}

double ToDouble(double v) {
    return std::isfinite(v) ? v : kFillDouble;
}

void PutScalar(CNcFile& nc, int var, size_t k, double value) {
    if (nc.Ok()) {
        const double v = ToDouble(value);
        nc.Check(nc_put_var1_double(nc.Id(), var, &k, &v));
    }
}

// CF's solar azimuth runs clockwise from north; ours from south, westward positive.
double AzimuthFromNorth(double fromSouth) {
    return std::fmod(fromSouth + 180.0 + 360.0, 360.0);
}

void PutRecord(CNcFile& nc, const Variables& v, size_t k, int64_t time, const RADDATA& r,
               const CRecordComponents& c, std::vector<float>& buffer) {
    PutScalar(nc, v.time, k, static_cast<double>(time));
    buffer.resize(kSpectraPerRecord * kPixelCount);
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        for (int i = 0; i < kPixelCount; ++i) {
            buffer[static_cast<size_t>(m * kPixelCount + i)] = ToFloat(c.m_positionSpectrum[m][i]);
        }
    }
    const size_t start3[3] = {k, 0, 0};
    const size_t count3[3] = {1, kSpectraPerRecord, kPixelCount};
    nc.Check(nc.Ok() ? nc_put_vara_float(nc.Id(), v.spectral, start3, count3, buffer.data())
                     : nc.Status());
    const size_t start2[2] = {k, 0};
    const size_t count2[2] = {1, kPixelCount};
    for (int comp = 0; comp < CRecordComponents::kComponentCount; ++comp) {
        for (int i = 0; i < kPixelCount; ++i) {
            buffer[static_cast<size_t>(i)] = ToFloat(c.m_spectrum[comp][i]);
        }
        nc.Check(nc.Ok()
                     ? nc_put_vara_float(nc.Id(), v.component[comp], start2, count2, buffer.data())
                     : nc.Status());
        PutScalar(nc, v.par[comp], k, c.m_component[comp].par);
        PutScalar(nc, v.photon[comp], k, c.m_component[comp].photon);
        PutScalar(nc, v.lum[comp], k, c.m_component[comp].lum);
        PutScalar(nc, v.uva[comp], k, c.m_component[comp].uva);
    }
    float temperature[kSpectraPerRecord];
    int exposure[kSpectraPerRecord];
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        temperature[m] = r.spec[m].temperature;
        exposure[m] = c.m_measured[m] ? r.spec[m].exposure : 0;
    }
    const size_t countPos[2] = {1, kSpectraPerRecord};
    if (nc.Ok()) {
        nc.Check(nc_put_vara_float(nc.Id(), v.temperature, start2, countPos, temperature));
        nc.Check(nc_put_vara_int(nc.Id(), v.exposure, start2, countPos, exposure));
    }
    PutScalar(nc, v.zenith, k, 90.0 - c.m_elevation);
    PutScalar(nc, v.azimuth, k, AzimuthFromNorth(c.m_azimuth));
    if (nc.Ok()) {
        const unsigned char flags = static_cast<unsigned char>(c.m_flags);
        nc.Check(nc_put_var1_uchar(nc.Id(), v.flags, &k, &flags));
    }
}

// Flushes the finished file to disk before it takes the target's name, with the permissions a
// new file gets (the temporary was made private).
bool SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const bool synced = ::fchmod(fd, 0666 & ~mask) == 0 && ::fsync(fd) == 0;
    return (::close(fd) == 0) && synced;
}

}  // namespace

bool CNetCdfExport::SameSetUp(std::ostream& err) const {
    const CRadData& first = m_index.Header(0);
    for (int f = 1; f < m_index.FileCount(); ++f) {
        const CRadData& h = m_index.Header(static_cast<uint32_t>(f));
        const char* differs = nullptr;
        if (std::memcmp(h.m_wavelength, first.m_wavelength, sizeof h.m_wavelength) != 0) {
            differs = "wavelength grid";
        } else if (std::memcmp(h.m_calib, first.m_calib, sizeof h.m_calib) != 0) {
            differs = "calibration";
        } else if (h.m_longitude != first.m_longitude || h.m_latitude != first.m_latitude) {
            differs = "site";
        }
        if (differs != nullptr) {
            err << "halvo-wsx export: '" << m_index.Path(static_cast<uint32_t>(f))
                << "' has another " << differs << " than '" << m_index.Path(0)
                << "'; export files of one set-up together\n";
            return false;
        }
    }
    return true;
}

int CNetCdfExport::Write(const std::string& path, std::ostream& err) {
    if (!SameSetUp(err)) {
        return CWsxTool::kUsage;
    }
    std::string name = path + ".tmpXXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        err << "halvo-wsx: cannot write '" << path << "'\n";
        return CWsxTool::kMissingFile;
    }
    ::close(fd);
    const CRadData& header = m_index.Header(0);
    const CQuantityWeights weights(header);
    CNcFile nc;
    Variables v;
    if (nc.Create(name)) {
        const int timeDim = nc.Dim("time", NC_UNLIMITED);
        const int positionDim = nc.Dim("position", kSpectraPerRecord);
        const int wavelengthDim = nc.Dim("wavelength", kPixelCount);
        DefineCoordinates(nc, timeDim, positionDim, wavelengthDim, v);
        DefineSpectra(nc, timeDim, positionDim, wavelengthDim, v);
        DefineQuantities(nc, timeDim, v);
        DefineRecordValues(nc, timeDim, positionDim, v);
        DefineGlobals(nc, m_index);
        nc.Check(nc.Ok() ? nc_enddef(nc.Id()) : nc.Status());
        PutFixed(nc, v, header);
        auto record = std::make_unique<RADDATA>();
        auto components = std::make_unique<CRecordComponents>();
        std::vector<float> buffer;
        std::vector<unsigned char> bytes;
        const auto& records = m_index.Records();
        for (size_t k = 0; k < records.size() && nc.Ok(); ++k) {
            if (!m_index.Decode(records[k], *record, bytes)) {
                nc.Check(NC_EIO);
                break;
            }
            components->Compute(header, weights, *record, true);
            PutRecord(nc, v, k, records[k].time, *record, *components, buffer);
        }
    }
    const bool written =
        nc.Close() && SyncFile(name) && std::rename(name.c_str(), path.c_str()) == 0;
    if (!written) {
        std::remove(name.c_str());
        err << "halvo-wsx: cannot write '" << path << "'"
            << (nc.Ok() ? "" : std::string(": ") + nc_strerror(nc.Status())) << "\n";
        return CWsxTool::kMissingFile;
    }
    return CWsxTool::kOk;
}
