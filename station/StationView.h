// CStationView: the station's stand-in for the window program's view, dialogs and message
// boxes: nothing is shown, nobody is asked, every message goes to the log.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "document/IPortChooser.h"
#include "link/IMessageBox.h"
#include "measurement/IIntervalDisplay.h"
#include "measurement/IProgressDisplay.h"
#include "measurement/IViewEvents.h"

class CStationView : public IProgressDisplay,
                     public IIntervalDisplay,
                     public IViewEvents,
                     public IMessageBox,
                     public IPortChooser {
public:
    // onMessage receives each message-box text.
    explicit CStationView(std::function<void(const std::string&)> onMessage)
        : m_onMessage(std::move(onMessage)) {}

    // IMessageBox: logged, answered OK (a question to stop the schedule is never asked here).
    Answer Show(const std::string& text, Buttons) override;
    // IPortChooser: nobody chooses another port; the station retries the stored one later.
    bool ChoosePort(int&) override { return false; }

    // IIntervalDisplay: the status line is the last slot's file result.
    void SetStatusText(const std::string& text) override { m_fileStatus = text; }
    void SetTimeText(const std::string&) override {}
    void Show() override {}
    void SetTopmost(bool) override {}
    void Hide() override {}

    // IProgressDisplay.
    void SetMessage(const std::string&) override {}

    // IViewEvents: the station plans its slots itself and never ticks.
    void StartTimer() override {}
    void KillTimer() override {}
    void PostIntervalMeasure(int64_t) override {}

    // Message-box texts since the last call, and the file status of the last slot.
    int TakeMessageCount();
    const std::string& LastMessage() const { return m_lastMessage; }
    const std::string& FileStatus() const { return m_fileStatus; }
    void ClearFileStatus() { m_fileStatus.clear(); }

private:
    std::function<void(const std::string&)> m_onMessage;
    std::string m_lastMessage;
    std::string m_fileStatus;
    int m_messages = 0;
};
