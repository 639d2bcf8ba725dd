// halvo-wsx verbs: header summary, record text blocks, count CSV, quantities, components, day
// series and NetCDF export.
#include "WsxTool.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "NetCdfExport.h"
#include "RecordIndex.h"
#include "SeriesWriter.h"
#include "data/CLocaleFormat.h"
#include "data/CountCsv.h"
#include "data/LocalTime.h"
#include "data/QuantityWeights.h"
#include "data/RadData.h"
#include "data/RecordComponents.h"

namespace {

const char kUsageText[] =
    "usage: halvo-wsx VERB FILE... [OPTIONS]\n"
    "Reads Halvo data files (.wsx).\n"
    "  info FILE                 header fields, record count, trailing bytes, and each record's\n"
    "                            local time and four exposures\n"
    "  text FILE [--record N]    record text blocks as the daily text file holds them\n"
    "                            (all records, or record N counted from 0)\n"
    "  csv FILE [--record N]     count CSV of record N (default: the last record)\n"
    "  quantities FILE           CSV: local time, position, exposure, temperature, PAR,\n"
    "                            PHOTON, LUM and UV-A of every record and band position\n"
    "  components FILE [--record N]\n"
    "                            CSV, one row per pixel of record N (default: the last):\n"
    "                            wavelength, global, diffuse, direct horizontal and direct\n"
    "                            normal spectral irradiance (W/m2/um)\n"
    "  series FILE... [--utc]    CSV, one row per record of all files in time order (repeated\n"
    "                            times once): time, sun, temperature, exposures, PAR, PHOTON,\n"
    "                            LUM and UV-A of each component, quality flags\n"
    "  export FILE... --netcdf OUT.nc\n"
    "                            NetCDF-4 (CF-1.8) file of spectra, components, quantities,\n"
    "                            sun and flags; the files must share grid, calibration and site\n"
    "  plot FILE [--record N] [--config Orvel.cfg] (-o OUT.png|OUT.pdf | --png OUT [--size WxH]\n"
    "       | --pdf OUT)         the record's page as the main window draws it\n"
    "  plot --day FILE... (-o OUT.png|OUT.pdf | --png OUT [--size WxH] | --pdf OUT)\n"
    "                            the day's global, diffuse and direct PAR and global UV-A\n"
    "  VERB --help               help for one verb\n"
    "Exit codes: 0 done, 1 usage, 2 file missing or unreadable, 3 not a data file,\n"
    "4 record out of range, 5 a time stamp that cannot be converted.\n";

std::string Field(const char* text) {
    return std::string(text);
}

std::string LocalStamp(int64_t seconds) {
    struct tm local {};
    return ToLocalTime(seconds, local) ? FormatTime("%Y/%m/%d %H:%M:%S", local) : "(invalid time)";
}

}  // namespace

int CWsxTool::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << kUsageText;
        return args.empty() ? kUsage : kOk;
    }
    const std::string& verb = args[0];
    if (verb == "series" || verb == "export") {
        return RunManyFiles(verb, std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
    if (verb != "info" && verb != "text" && verb != "csv" && verb != "quantities" &&
        verb != "components") {
        err << "halvo-wsx: unknown verb '" << verb << "'\n" << kUsageText;
        return kUsage;
    }
    if (args.size() >= 2 && (args[1] == "--help" || args[1] == "-h")) {
        out << kUsageText;
        return kOk;
    }
    if (args.size() < 2) {
        err << "halvo-wsx " << verb << ": a data file is needed\n";
        return kUsage;
    }
    m_path = args[1];
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    if (!ParseRecordOption(rest, err)) {
        return kUsage;
    }
    if ((verb == "info" || verb == "quantities") && m_record >= 0) {
        err << "halvo-wsx " << verb << ": --record does not apply\n";
        return kUsage;
    }
    CRadData data;
    if (const int status = Load(data, err); status != kOk) {
        return status;
    }
    if (verb == "info") {
        return Info(data, out);
    }
    if (verb == "text") {
        return Text(data, out, err);
    }
    if (verb == "csv") {
        return Csv(data, out, err);
    }
    if (verb == "components") {
        return Components(data, out, err);
    }
    return Quantities(data, out, err);
}

bool CWsxTool::ParseRecordOption(const std::vector<std::string>& rest, std::ostream& err) {
    m_record = -1;
    for (size_t i = 0; i < rest.size(); i += 2) {
        if (rest[i] != "--record" || i + 1 >= rest.size()) {
            err << "halvo-wsx: unexpected argument '" << rest[i] << "'\n";
            return false;
        }
        char* end = nullptr;
        const long n = std::strtol(rest[i + 1].c_str(), &end, 10);
        if (end == rest[i + 1].c_str() || *end != '\0' || n < 0 || n > 0x7FFFFFFF) {
            err << "halvo-wsx: --record needs a record number from 0\n";
            return false;
        }
        m_record = static_cast<int>(n);
    }
    return true;
}

const char* CWsxTool::UsageText() {
    return kUsageText;
}

int CWsxTool::Load(CRadData& data, std::ostream& err) {
    const int result = data.LoadFile(m_path.c_str());
    if (result == -2) {
        err << "halvo-wsx: cannot open '" << m_path << "'\n";
        return kMissingFile;
    }
    if (result == -1) {
        err << "halvo-wsx: '" << m_path << "' is not a Halvo data file\n";
        return kNotDataFile;
    }
    if (data.m_trailingBytes > 0) {
        err << "halvo-wsx: '" << m_path << "' ends in a torn record; read up to its last whole "
            << "record (" << data.GetSize() << "), " << data.m_trailingBytes << " bytes ignored\n";
    }
    return kOk;
}

int CWsxTool::CheckRecord(const CRadData& data, std::ostream& err) const {
    if (m_record >= data.GetSize()) {
        err << "halvo-wsx: record " << m_record << " out of range (the file holds "
            << data.GetSize() << ")\n";
        return kNoSuchRecord;
    }
    return kOk;
}

// The record a single-record verb works on: the one asked for, else the last.
int CWsxTool::ChosenRecord(const CRadData& data, std::ostream& err, int& index) const {
    if (data.GetSize() == 0) {
        err << "halvo-wsx: '" << m_path << "' holds no records\n";
        return kNoSuchRecord;
    }
    if (const int status = CheckRecord(data, err); status != kOk) {
        return status;
    }
    index = m_record >= 0 ? m_record : data.GetSize() - 1;
    return kOk;
}

int CWsxTool::Info(CRadData& data, std::ostream& out) {
    out << "file: " << m_path << "\n"
        << FormatC("version: %.2f\n", data.m_version) << "memo: " << data.m_memo << "\n"
        << "sensor ID: " << Field(data.m_id) << "\n"
        << "serial: " << Field(data.m_serial) << "\n"
        << "type: " << Field(data.m_type) << "\n"
        << "firmware: " << Field(data.m_fwVersion) << " (" << Field(data.m_fwTime) << ")\n";
    for (int k = 0; k < kCoefCount; ++k) {
        out << "C" << k << ": " << Field(data.m_coef[k]) << "\n";
    }
    out << FormatC("wavelengths: %.1f to %.1f nm\n", static_cast<double>(data.m_wavelength[0]),
                   static_cast<double>(data.m_wavelength[kPixelCount - 1]))
        << FormatC("longitude: %.5f\nlatitude: %.5f\n", data.m_longitude, data.m_latitude)
        << "records: " << data.GetSize() << "\n"
        << "trailing bytes: " << data.m_trailingBytes << "\n";
    for (int k = 0; k < data.GetSize(); ++k) {
        const RADDATA* r = data.GetRecord(k);
        out << "record " << k << ": " << LocalStamp(r->measTime) << " exposures";
        for (const SPECDATA& s : r->spec) {
            out << " " << s.exposure;
        }
        out << "\n";
    }
    return kOk;
}

int CWsxTool::Text(CRadData& data, std::ostream& out, std::ostream& err) {
    if (const int status = CheckRecord(data, err); status != kOk) {
        return status;
    }
    const int first = m_record >= 0 ? m_record : 0;
    const int last = m_record >= 0 ? m_record : data.GetSize() - 1;
    for (int k = first; k <= last; ++k) {
        std::string text;
        data.Select(k, 0);
        if (!data.GetRecordText(text)) {
            err << "halvo-wsx: record " << k << " has a time that cannot be converted\n";
            return kBadTime;
        }
        out << text << "\n";
    }
    return kOk;
}

int CWsxTool::Csv(CRadData& data, std::ostream& out, std::ostream& err) {
    int index = 0;
    if (const int status = ChosenRecord(data, err, index); status != kOk) {
        return status;
    }
    std::string csv;
    if (!BuildCountCsv(data, index, csv)) {
        err << "halvo-wsx: record " << index << " has a time that cannot be converted\n";
        return kBadTime;
    }
    out << csv;
    return kOk;
}

int CWsxTool::Quantities(CRadData& data, std::ostream& out, std::ostream& err) {
    out << "time,position,exposure[msec],temperature[deg.C],PAR[W/m2],PHOTON[umol/m2/s],"
           "LUM[lux],UV-A[W/m2]\n";
    for (int k = 0; k < data.GetSize(); ++k) {
        struct tm local {};
        if (!ToLocalTime(data.GetRecord(k)->measTime, local)) {
            err << "halvo-wsx: record " << k << " has a time that cannot be converted\n";
            return kBadTime;
        }
        const std::string stamp = FormatTime("%Y/%m/%d %H:%M:%S", local);
        for (int m = 0; m < kSpectraPerRecord; ++m) {
            data.Select(k, m);
            const SPECDATA& s = data.GetRecord(k)->spec[m];
            out << stamp
                << FormatC(",%d,%ld,%.1f,%.2f,%.1f,%.1f,%.2f\n", m, static_cast<long>(s.exposure),
                           static_cast<double>(s.temperature), data.GetPAR(), data.GetPhoton(),
                           data.GetLum(), data.GetUVA());
        }
    }
    return kOk;
}

int CWsxTool::Components(CRadData& data, std::ostream& out, std::ostream& err) {
    int index = 0;
    if (const int status = ChosenRecord(data, err, index); status != kOk) {
        return status;
    }
    const CQuantityWeights weights(data);
    auto components = std::make_unique<CRecordComponents>();
    components->Compute(data, weights, *data.GetRecord(index), true);
    std::string csv =
        "wavelength[nm],global[W/m2/um],diffuse[W/m2/um],direct_horizontal[W/m2/um],"
        "direct_normal[W/m2/um]\n";
    for (int i = 0; i < kPixelCount; ++i) {
        AppendFormatC(csv, "%.9g", static_cast<double>(data.m_wavelength[i]));
        for (const auto& spectrum : components->m_spectrum) {
            csv += ',';
            if (std::isfinite(spectrum[i])) {
                AppendFormatC(csv, "%.9g", spectrum[i]);
            }
        }
        csv += '\n';
    }
    out << csv;
    return kOk;
}

// Verbs over many files: FILE... and options in any order.
int CWsxTool::RunManyFiles(const std::string& verb, const std::vector<std::string>& rest,
                           std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    bool utc = false;
    std::string netcdf;
    for (size_t i = 0; i < rest.size(); ++i) {
        const std::string& a = rest[i];
        if (a == "--help" || a == "-h") {
            out << kUsageText;
            return kOk;
        }
        if (verb == "series" && a == "--utc") {
            utc = true;
        } else if (verb == "export" && a == "--netcdf" && i + 1 < rest.size()) {
            netcdf = rest[++i];
        } else if (a.rfind("--", 0) == 0) {
            err << "halvo-wsx " << verb << ": unexpected argument '" << a << "'\n";
            return kUsage;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        err << "halvo-wsx " << verb << ": at least one data file is needed\n";
        return kUsage;
    }
    if (verb == "export" && netcdf.empty()) {
        err << "halvo-wsx export: --netcdf OUT.nc is needed\n";
        return kUsage;
    }
    CRecordIndex index;
    if (const int status = index.Open(files, err); status != kOk) {
        return status;
    }
    if (verb == "export") {
        return CNetCdfExport(index).Write(netcdf, err);
    }
    CSeriesWriter series(index, utc);
    return series.Write(out, err) ? kOk : kBadTime;
}
