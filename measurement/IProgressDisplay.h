// IProgressDisplay: the "Meas Now" progress dialog as the measurement sequence drives it.
#pragma once

#include <string>

class IProgressDisplay {
public:
    virtual ~IProgressDisplay() = default;
    // Sets the dialog's text and repaints it.
    virtual void SetMessage(const std::string& text) = 0;
    // Centres the dialog over the view, makes it topmost and visible.
    virtual void Show() = 0;
    virtual void Hide() = 0;
};
