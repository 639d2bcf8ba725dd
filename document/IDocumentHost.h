// IDocumentHost: what the document asks of the window system (title, modified flag, views).
#pragma once

#include <string>

class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetModifiedFlag(bool modified) = 0;
    // Redraws every view of the document.
    virtual void UpdateAllViews() = 0;
};
