// IMessageBox: the modal message box the core asks through; the window system implements it.
#pragma once

#include <string>

class IMessageBox {
public:
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };
    virtual ~IMessageBox() = default;
    // Shows text with the application title as caption and waits for the user's answer.
    virtual Answer Show(const std::string& text, Buttons buttons) = 0;
};
