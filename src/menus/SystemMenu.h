// The system menu of a form as an animated drop-down, and the form class that shows
// it from its caption and icon instead of the platform's menu.
#pragma once

#include "menus/DropMenus.h"
#include "win/Window.h"

#include <functional>
#include <memory>

namespace menus {

class TForm;

class TSystemMenu : public TDropMenu {
public:
    // The owner must be a form of this unit's class; anything else is refused.
    explicit TSystemMenu(win::Window& owner);

    bool Enabled = true;
    bool AllowAdjust = true;
    std::function<void()> OnShow;

    // Reads the platform's system menu of the form into the items.
    void Convert();
    // Converts and opens at a screen point; from the icon it slides, else it unfolds.
    void Show(POINT at, bool fromIcon);

protected:
    TPlacement Context(POINT at) const override;
};

// Reads the platform's system menu of a window into root: each entry posts its command
// to the window; the states follow the window's state and frame.
void ConvertSystemMenu(HWND window, TMenuItem& root);

// The component name of a system command's entry ("SYSTEMCLOSE"), or empty.
std::string SystemCommandName(UINT command);

class TForm : public win::Window {
public:
    TForm();
    ~TForm() override;

    TSystemMenu* SystemMenu() const noexcept { return systemMenu_.get(); }
    // The form has finished loading: it gets its system menu unless it has one.
    void Loaded();
    // Asks for the system menu at a screen point, at once or after the delay that lets
    // a double click on the icon close the window.
    void ShowSystemMenu(POINT at, bool fromIcon, bool delayed);
    // Below the caption icon, where the icon's menu opens.
    POINT IconMenuPoint() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::unique_ptr<TSystemMenu> systemMenu_;
    POINT point_{};
    bool fromIcon_ = false;
};

} // namespace menus
