// The checks before an interval start: user file name and sensor type, data folder.
#include "measurement/IntervalStartCheck.h"

#include "data/DataFileWriter.h"
#include "document/OrvelDoc.h"
#include "resources/StringTable.h"

namespace {

constexpr const char* kDataFileExtension = "wsx";

// The user file exists and was written by an instrument of another sensor type.
bool OtherSensorType(const COrvelDoc& doc, const std::string& path) {
    CRadData file;
    file.LoadHeader(path.c_str());
    return !SameSensorType(file, doc.m_radData);
}

}  // namespace

bool IntervalStartChecksPass(COrvelDoc& doc) {
    std::string folder = doc.m_dataFolder;
    if (doc.m_autoFileName == 0) {
        doc.m_intervalFile = WithDefaultExtension(doc.m_intervalFile, kDataFileExtension);
        if (FileExists(doc.m_intervalFile) && OtherSensorType(doc, doc.m_intervalFile)) {
            doc.ShowMessage(IDS_APPEND_FORMAT_DIFFERS);
            return false;
        }
        folder = FolderOfFile(doc.m_intervalFile);
    }
    switch (CheckFolder(folder)) {
        case FolderState::Missing:
            doc.ShowMessage(IDS_INVALID_DATA_FOLDER);
            return false;
        case FolderState::ReadOnly:
            doc.ShowMessage(IDS_FOLDER_READ_ONLY);
            return false;
        case FolderState::Usable:
            break;
    }
    return true;
}
