// Message boxes of the unattended station become log lines.
#include "station/StationView.h"

IMessageBox::Answer CStationView::Show(const std::string& text, Buttons) {
    m_lastMessage = text;
    ++m_messages;
    if (m_onMessage) {
        m_onMessage(text);
    }
    return Answer::Ok;
}

int CStationView::TakeMessageCount() {
    const int count = m_messages;
    m_messages = 0;
    return count;
}
