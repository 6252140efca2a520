#pragma once
// What a directory scan needs from whoever shows it: a status line and the Escape key.
// The GUI answers with its status bar and keyboard; a headless caller may pass nothing.
#include <exception>
#include <string>

namespace sw {

class IScanHost {
public:
    virtual ~IScanHost() = default;
    // Shows the text in the first pane of the status bar and repaints it at once.
    virtual void ShowStatusText(const std::string& text) = 0;
    // True while the user holds Escape down.
    virtual bool IsEscapeDown() = 0;
};

// The user cancelled; the operation stops without a message.
class CUserCancel : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled by the user"; }
};

}  // namespace sw
