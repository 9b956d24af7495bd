// The main window's menu bar. Hiding it takes the menu off the window, so that no
// command can be chosen from it while another runs; the shortcuts stay.
#pragma once

#include "win/Handles.h"

class TMenuBar {
public:
    TMenuBar() = default;
    TMenuBar(const TMenuBar&) = delete;
    TMenuBar& operator=(const TMenuBar&) = delete;
    ~TMenuBar();

    // Takes ownership of menu and shows it on form.
    void Attach(HWND form, HMENU menu);
    HMENU Menu() const noexcept { return menu_.get(); }
    bool Visible() const;
    void Show() const;
    void Hide() const;

private:
    HWND form_ = nullptr;
    win::UniqueMenu menu_;
};
