// The tooltip of the hovered drop-down item, and the hint texts the menus take apart.
#pragma once

#include "win/Window.h"

#include <string>
#include <vector>

namespace menus {

// "short|long": the tooltip shows the short part, the status bar the long part; a
// hint without "|" is both.
std::string ShortHint(const std::string& hint);
// The long part, trimmed, each five-character "&#.." sequence shown as a blank.
std::string StatusText(const std::string& hint);
// The short part, trimmed, split at each "&#13;" or carriage return.
std::vector<std::string> HintLines(const std::string& hint);

class TMenuHintWindow : public win::Window {
public:
    TMenuHintWindow();
    // Shows the hint's short part near the pointer (screen coordinates), over the work
    // area given, without taking the activation; hides after the program's hide pause.
    void ActivateHint(const std::string& hint, POINT pointer, RECT work);
    void ReleaseHandle();
    bool Showing() const;
    // Where the window goes for a size at the pointer.
    static POINT Position(SIZE size, POINT pointer, RECT work);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::vector<std::string> lines_;
    int lineHeight_ = 0;
};

} // namespace menus
