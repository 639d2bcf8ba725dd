// CWsxTool: the verbs of halvo-wsx: one file's header, records and components; many files'
// series and NetCDF export.
#pragma once

#include <ostream>
#include <string>
#include <vector>

class CRadData;

class CWsxTool {
public:
    enum ExitCode {
        kOk = 0,
        kUsage = 1,
        kMissingFile = 2,
        kNotDataFile = 3,
        kNoSuchRecord = 4,
        kBadTime = 5,
    };

    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    static const char* UsageText();

private:
    int RunManyFiles(const std::string& verb, const std::vector<std::string>& rest,
                     std::ostream& out, std::ostream& err);
    int Components(CRadData& data, std::ostream& out, std::ostream& err);
    int Info(CRadData& data, std::ostream& out);
    int Text(CRadData& data, std::ostream& out, std::ostream& err);
    int Csv(CRadData& data, std::ostream& out, std::ostream& err);
    int Quantities(CRadData& data, std::ostream& out, std::ostream& err);
    int Load(CRadData& data, std::ostream& err);
    bool ParseRecordOption(const std::vector<std::string>& rest, std::ostream& err);
    int CheckRecord(const CRadData& data, std::ostream& err) const;
    int ChosenRecord(const CRadData& data, std::ostream& err, int& index) const;

    std::string m_path;
    int m_record = -1;  // -1: not given
};
