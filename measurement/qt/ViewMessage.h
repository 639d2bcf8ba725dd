// CViewMessage: the view's private messages, posted so they run after the current handler.
#pragma once

#include <QEvent>
#include <cstdint>

// The numbers keep their old offsets above the first private message number.
inline constexpr QEvent::Type WM_INTERVAL_MEASURE = static_cast<QEvent::Type>(QEvent::User + 101);
inline constexpr QEvent::Type WM_MEAS_BREAK = static_cast<QEvent::Type>(QEvent::User + 102);
inline constexpr QEvent::Type WM_INTERVAL_BREAK = static_cast<QEvent::Type>(QEvent::User + 103);

class CViewMessage : public QEvent {
public:
    explicit CViewMessage(QEvent::Type type, int64_t time = 0) : QEvent(type), m_time(time) {}
    // The slot time of WM_INTERVAL_MEASURE (seconds since 1970).
    int64_t m_time;
};
