// halvo-wsx verbs: header summary, record text blocks, count CSV and a table of quantities.
#include "WsxTool.h"

#include <cstdlib>
#include <ctime>

#include "data/CLocaleFormat.h"
#include "data/CountCsv.h"
#include "data/LocalTime.h"
#include "data/RadData.h"

namespace {

const char kUsageText[] =
    "usage: halvo-wsx VERB FILE [--record N]\n"
    "Reads a Halvo data file (.wsx).\n"
    "  info FILE                 header fields, record count, trailing bytes, and each record's\n"
    "                            local time and four exposures\n"
    "  text FILE [--record N]    record text blocks as the daily text file holds them\n"
    "                            (all records, or record N counted from 0)\n"
    "  csv FILE [--record N]     count CSV of record N (default: the last record)\n"
    "  quantities FILE           CSV: local time, position, exposure, temperature, PAR,\n"
    "                            PHOTON, LUM and UV-A of every record and band position\n"
    "  plot FILE [--record N] (--png OUT [--size WxH] | --pdf OUT)\n"
    "                            the record's page as the main window draws it\n"
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
    if (verb != "info" && verb != "text" && verb != "csv" && verb != "quantities") {
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
    if (data.GetSize() == 0) {
        err << "halvo-wsx: '" << m_path << "' holds no records\n";
        return kNoSuchRecord;
    }
    if (const int status = CheckRecord(data, err); status != kOk) {
        return status;
    }
    const int index = m_record >= 0 ? m_record : data.GetSize() - 1;
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
