// The ".wsx" data file: header, calibration, records, hostile input and the in-place append.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <vector>

#include "data/DataFileWriter.h"
#include "data/RadData.h"
#include "tests/support/TestRecords.h"

namespace {

class DataFile : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return folder + "/" + name; }
    // Saves data as the file name in the folder; its path.
    std::string Saved(const CRadData& data, const char* name) const {
        const std::string path = Path(name);
        EXPECT_EQ(data.SaveFile(path.c_str()), 1) << name;
        return path;
    }

    TempFolder temp;
    std::string folder = temp.Path();
};

std::string HeaderOf(const CRadData& data) {
    std::string text;
    data.GetHeaderText(text);
    return text;
}

void ExpectSameRecords(const CRadData& a, const CRadData& b) {
    ASSERT_EQ(a.GetSize(), b.GetSize());
    for (int k = 0; k < a.GetSize(); ++k) {
        EXPECT_EQ(std::memcmp(a.GetRecord(k), b.GetRecord(k), sizeof(RADDATA)), 0) << k;
    }
}

}  // namespace

// The header alone reads the count of records without reading them. Bytes after the last
// record are ignored: 100, and as many as end the file one byte into a 64 KiB read.
TEST_F(DataFile, SaveAndLoadRoundTripsHeaderCalibrationAndRecords) {
    for (int records : {0, 3}) {
        CRadData data;
        FillSampleSet(data, records);
        const std::string path = Saved(data, "round.wsx");
        const std::string header = HeaderOf(data);
        const std::string saved = ReadFileBytes(path);
        EXPECT_EQ(saved.size(), header.size() + 8192 + 32900u * records);

        CRadData loaded;
        EXPECT_EQ(loaded.LoadFile(path.c_str()), records);
        EXPECT_EQ(HeaderOf(loaded), header);
        EXPECT_EQ(std::memcmp(loaded.m_calib, data.m_calib, sizeof data.m_calib), 0);
        EXPECT_EQ(std::memcmp(loaded.m_wavelength, data.m_wavelength, sizeof data.m_wavelength), 0);
        ExpectSameRecords(loaded, data);
        CRadData headerOnly;
        EXPECT_EQ(headerOnly.LoadHeader(path.c_str()), records);
        EXPECT_EQ(headerOnly.GetSize(), 0);
        EXPECT_EQ(HeaderOf(headerOnly), header);
        EXPECT_EQ(headerOnly.m_calib[2047], data.m_calib[2047]);
        if (records == 0) {
            continue;  // a stray 64 KiB would hold a whole record
        }
        for (size_t stray : {size_t{100}, 65536 - saved.size() % 65536 + 1}) {
            WriteFileBytes(path, saved + std::string(stray, '\x5A'));
            CRadData withStray;
            EXPECT_EQ(withStray.LoadFile(path.c_str()), records) << stray;
            ExpectSameRecords(withStray, data);
        }
    }
}

// Missing, foreign, damaged and unusual files, each loaded into a fresh set and summed up as the
// result, the header, the first grid point and the first four calibration factors, against
// data/loaded-files.txt. The header reader takes keys in any order, lets the last one win,
// skips unknown keys and lines without a comma, reads long lines in pieces of 255 bytes (the
// memo's continuation "D,X..." matches nothing) and cuts identity texts to 31 characters. A
// short calibration keeps the factors not read; two bytes of the third were overwritten.
TEST_F(DataFile, LoadedFilesMatchTheReference) {
    const float two = 2.0f;
    const std::string calib(reinterpret_cast<const char*>(&two), 4);
    const std::string files[] = {
        "ZNRT,01.0",
        "ZNRT,01.00",
        "",
        "ZNRX,01.00\nHEADER_END\n",
        "znrt,01.00\nHEADER_END\n",
        "ZNRT,01.00\n",
        "ZNRT,garbage",
        "ZNRT,02.00\nLAT,-12.5\nXTRA,1\nno comma here\nC1,0.5\nST,TYPE-B\r\nC0,300\nMEMO,first\n"
        "MEMO,second, kept\nLON,\nID,0123456789012345678901234567890123456789\nHEADER_END\r\n" +
            std::string(8192, '\0'),
        "ZNRT,01.00\nMEMO," + std::string(248, 'm') + ",ID,X" + std::string(40, 'z') +
            "\nSN,after\nHEADER_END\n",
        "ZNRT,01.00\nHEADER_END\n" + calib + calib + "\x01\x02",
    };
    std::string summary = "missing " + std::to_string(CRadData().LoadFile(Path("none").c_str())) +
                          ", folder " + std::to_string(CRadData().LoadFile(folder.c_str())) + "\n";
    for (const std::string& bytes : files) {
        WriteFileBytes(Path("file.wsx"), bytes);
        CRadData loaded;
        const int result = loaded.LoadFile(Path("file.wsx").c_str());
        summary += "loaded " + std::to_string(result) + "\n" + HeaderOf(loaded) + "version " +
                   std::to_string(loaded.m_version) + ", wavelength " +
                   std::to_string(loaded.m_wavelength[0]) + ", calibration";
        for (int i = 0; i < 4; ++i) {
            summary += " " + std::to_string(loaded.m_calib[i]);
        }
        summary += "\n\n";
    }
    EXPECT_EQ(ReferenceMismatch(summary, HALVO_AREA_DATA_DIR "/loaded-files.txt"), "");
}

TEST_F(DataFile, SaveReplacesTheFileAndLeavesNoTemporaryWhenItFails) {
    CRadData data;
    FillSampleSet(data, 2);
    const std::string path = Path("replace.wsx");
    WriteFileBytes(path, std::string(200000, 'x'));
    ASSERT_EQ(data.SaveFile(path.c_str()), 1);
    EXPECT_EQ(CRadData().LoadFile(path.c_str()), 2);
    EXPECT_EQ(data.SaveFile(Path("no/such/folder.wsx").c_str()), 0);
    // A file that cannot take the place of what is there (a folder) fails after the whole
    // temporary was written: the temporary goes too.
    std::filesystem::create_directory(Path("taken.wsx"));
    EXPECT_EQ(data.SaveFile(Path("taken.wsx").c_str()), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              2);
}

// Every write of a data file, rewrite or in-place append, clears what killed writers left.
TEST_F(DataFile, EveryWriteRemovesOnlyTemporariesThatAKilledWriterLeftTenMinutesAgo) {
    using namespace std::chrono;
    const std::string path = Path("day.wsx");
    CRadData sample;
    FillSampleSet(sample, 1);
    const std::vector<std::function<bool()>> writers = {
        [&] { return sample.SaveFile(path.c_str()) == 1; },
        [&] { return AddRecordToDataFile(sample, path, *sample.GetRecord(0)); },  // in place
        [&] {
            CRadData otherMemo;
            otherMemo.CopyHeader(sample);
            otherMemo.m_memo = "rewritten";
            return AddRecordToDataFile(otherMemo, path, *sample.GetRecord(0));
        },
    };
    for (size_t w = 0; w < writers.size(); ++w) {
        const std::string stale = path + ".tmpAbC123";
        const std::string fresh = path + ".tmpXyZ789";
        const std::string other = Path("other.wsx.tmpAbC123");
        for (const std::string& f : {stale, fresh, other}) {
            WriteFileBytes(f, "half a file");
        }
        const auto now = std::filesystem::file_time_type::clock::now();
        std::filesystem::last_write_time(stale, now - minutes(11));
        std::filesystem::last_write_time(fresh, now - minutes(9));
        std::filesystem::last_write_time(other, now - hours(2));
        ASSERT_TRUE(writers[w]()) << w;
        EXPECT_FALSE(std::filesystem::exists(stale)) << w;
        EXPECT_TRUE(std::filesystem::exists(fresh)) << w;  // a writer may still be at work on it
        EXPECT_TRUE(std::filesystem::exists(other)) << w;  // belongs to another file
        std::filesystem::remove(fresh);
    }
    EXPECT_EQ(CRadData().LoadFile(path.c_str()), 3);
}

// The in-place append gives the bytes of a full rewrite, cuts a torn tail first, and refuses a
// file with another header or no file at all.
TEST_F(DataFile, InPlaceAppendGivesTheBytesOfAFullRewriteAndRefusesAnotherHeader) {
    CRadData data;
    FillSampleSet(data, 3);
    CRadData firstTwo;
    FillSampleSet(firstTwo, 2);
    const std::string appended = Saved(firstTwo, "appended.wsx");
    ASSERT_EQ(data.AppendRecordInPlace(appended.c_str(), *data.GetRecord(2)), 1);
    EXPECT_EQ(ReadFileBytes(appended), ReadFileBytes(Saved(data, "rewritten.wsx")));

    const std::string torn = Saved(firstTwo, "torn.wsx");
    WriteFileBytes(torn, ReadFileBytes(torn) + std::string(1234, '\x7F'));
    ASSERT_EQ(data.AppendRecordInPlace(torn.c_str(), *data.GetRecord(2)), 1);
    EXPECT_EQ(ReadFileBytes(torn), ReadFileBytes(appended));

    firstTwo.m_memo = "another memo";
    const std::string other = Saved(firstTwo, "other.wsx");
    const std::string before = ReadFileBytes(other);
    EXPECT_EQ(data.AppendRecordInPlace(other.c_str(), *data.GetRecord(0)), 0);
    EXPECT_EQ(ReadFileBytes(other), before);
    EXPECT_EQ(data.AppendRecordInPlace(Path("absent.wsx").c_str(), *data.GetRecord(0)), 0);
}
