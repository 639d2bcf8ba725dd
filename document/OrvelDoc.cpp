// COrvelDoc: settings file lifecycle, the connection loop and the instrument set-up.
#include "document/OrvelDoc.h"

#include <cstring>

#include "data/AtomicFile.h"
#include "data/CLocaleFormat.h"
#include "document/IPortChooser.h"
#include "link/BandInfo.h"
#include "link/IMessageBox.h"
#include "resources/StringTable.h"

namespace {

constexpr int kBandSpeed = 2500;
constexpr int kBandSlewRate = 200;

std::string Text(const char (&field)[kTextFieldSize]) {
    return std::string(field, strnlen(field, kTextFieldSize));
}

}  // namespace

COrvelDoc::COrvelDoc(std::string exeDir, Language language)
    : COrvelSettings(std::move(exeDir)), m_language(language) {
    RemoveStaleTemporaries(m_cfgPath);
    LoadSaveConfig(m_cfgPath, kLoad);
}

COrvelDoc::~COrvelDoc() {
    LoadSaveConfig(m_cfgPath, kStore);
    m_link.ClosePort();
}

void COrvelDoc::SetMessageBox(IMessageBox* messageBox) {
    m_messageBox = messageBox;
    m_link.SetMessageBox(messageBox);
}

bool COrvelDoc::OnNewDocument(IPortChooser& chooser) {
    DeleteContents();
    for (;;) {
        if (m_link.OpenPort(m_comPort) == 1) {
            if (SetupInstruments() == 1) {
                return true;
            }
            m_link.ClosePort();
        }
        int port = m_comPort;
        if (!chooser.ChoosePort(port)) {
            return false;
        }
        m_comPort = port;
        StoreSettings();
    }
}

int COrvelDoc::SetupInstruments() {
    if (m_link.CheckBand() != 1) {
        ShowMessage(IDS_BAND_NEGOTIATION_FAULT);
        return 0;
    }
    BANDINFO band{};
    if (m_link.GetBandInfo(band) != 1) {
        ShowMessage(IDS_BAND_INFO_FAULT);
        return 0;
    }
    int16_t speed = 0;
    if (m_link.GetMotorSpeed(speed) != 1) {
        ShowMessage(IDS_BAND_PARAMETER_FAULT);
        return 0;
    }
    if (speed != kBandSpeed && m_link.SetMotorSpeed(kBandSpeed) != 1) {
        ShowText("Motor Setting fault(1)");
        return 0;
    }
    int16_t slew = 0;
    if (m_link.GetSlewRate(slew) != 1) {
        ShowText("Motor setting fault(2)");
        return 0;
    }
    if (slew != kBandSlewRate && m_link.SetSlewRate(kBandSlewRate) != 1) {
        ShowText("Motor Setting fault(3)");
        return 0;
    }
    if (m_link.CheckSpectro() != 1) {
        ShowMessage(IDS_SPECTRO_NEGOTIATION_FAULT);
        return 0;
    }
    if (m_link.GetSensorInfo(m_radData) != 1) {
        ShowMessage(IDS_SENSOR_INFO_FAULT);
        return 0;
    }
    if (m_link.GetCalibration(m_radData) != 1) {
        ShowMessage(IDS_CALIBRATION_FAULT);
        return 0;
    }
    return 1;
}

std::string COrvelDoc::GetSensorInfoText() const {
    const CRadData& d = m_radData;
    std::string text;
    text += "Sensor ID: " + Text(d.m_id) + "\n";
    text += "Sensor S/N: " + Text(d.m_serial) + "\n";
    text += "Sensor Type: " + Text(d.m_type) + "\n";
    text += "Version: " + Text(d.m_fwVersion) + " (" + Text(d.m_fwTime) + ")\n";
    for (int i = 0; i < kCoefCount; ++i) {
        text += FormatC("C%d: ", i) + Text(d.m_coef[i]) + "\n";
    }
    return text;
}

void COrvelDoc::DeleteContents() {
    m_radData.RemoveLast(m_radData.GetSize());
}

int COrvelDoc::AppendTextFile(const std::string& path, const std::string& text) {
    return ::AppendTextFile(path, text) ? 1 : 0;
}

void COrvelDoc::SetModifiedFlag(bool modified) {
    m_modified = modified;
    if (m_host != nullptr) {
        m_host->SetModifiedFlag(modified);
    }
}

void COrvelDoc::SetTitle(const std::string& title) {
    m_title = title;
    if (m_host != nullptr) {
        m_host->SetTitle(title);
    }
}

void COrvelDoc::UpdateAllViews() {
    if (m_host != nullptr) {
        m_host->UpdateAllViews();
    }
}

void COrvelDoc::ShowMessage(unsigned id) {
    ShowText(LoadResString(id, m_language));
}

void COrvelDoc::ShowText(const std::string& text) {
    if (m_messageBox != nullptr) {
        m_messageBox->Show(text, IMessageBox::Buttons::Ok);
    }
}
