// IIntervalDisplay: the "Interval Measurement" progress dialog as the schedule drives it.
#pragma once

#include <string>

class IIntervalDisplay {
public:
    virtual ~IIntervalDisplay() = default;
    // The two lines of clock and next slot.
    virtual void SetTimeText(const std::string& text) = 0;
    // The status of the last file write.
    virtual void SetStatusText(const std::string& text) = 0;
    // Centres the dialog over the view and shows it topmost.
    virtual void Show() = 0;
    virtual void SetTopmost(bool topmost) = 0;
    virtual void Hide() = 0;
};
