// The menu bar: the top-level items of a main menu as flat buttons, each opening its
// children in a drop-down, with the keys of a menu bar through the message hook.
// Hiding the bar keeps a second command from being chosen with the mouse; the
// shortcuts stay.
#pragma once

#include "menus/DropMenus.h"
#include "menus/MenuItem.h"
#include "menus/MenuTypes.h"
#include "win/Handles.h"
#include "win/Window.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace menus {

class TMenuBar;

// The top-level items the bar shows, group by group from 0 to 255: the child menu's
// items of a group where it has any, else the main menu's.
std::vector<TMenuItem*> MergedItems(TMenuItem* main, TMenuItem* child);

class TBarButton {
public:
    std::string Caption;
    std::string Hint;
    bool Enabled = true;
    bool Bold = false;
    HBITMAP Image = nullptr;  // the unchecked bitmap of the item's platform entry
    TButtonOrientation Orientation = TButtonOrientation::orAutomatic;
    bool AutoSize = true;
    TMenuItem* Item = nullptr;
    std::unique_ptr<TDropMenu> Menu;
    int GroupIndex = 0;
    RECT Bounds{};  // in the bar

    // The size it asks for in the given font; docked at a side, width and height swap.
    SIZE Measure(HDC dc, HFONT font, bool sideDocked) const;
    // Draws it into target, hot (raised) or pressed (sunken).
    void Draw(TOffscreen& target, HFONT font, bool hot, bool pressed, bool vertical) const;
    bool Vertical() const;
    bool SystemButton() const noexcept { return system_; }

    bool Filler() const noexcept { return filler_; }
    // The system command a button of a maximised child window sends it, or 0.
    UINT SysCommand() const noexcept { return sysCommand_; }

private:
    friend class TMenuBar;
    bool system_ = false;
    bool filler_ = false;
    bool gap_ = false;
    UINT sysCommand_ = 0;
    win::UniqueBitmap ownImage_;
    TMenuItem systemItems_;
};

class TMenuBar : public win::Window, public TDropMenuSettings {
public:
    TMenuBar();
    ~TMenuBar() override;

    std::string Caption = "Menu Bar";

    // Creates the bar in its dock; form is the window whose menu it shows.
    void CreateWnd(HWND dock, HWND form);
    HWND Form() const noexcept { return form_; }
    TMainMenu* MainMenu() const noexcept { return mainMenu_; }
    // Takes the menu away from the form, so that the platform draws no menu bar, and
    // shows its items as buttons. None is refused.
    void SetMainMenu(TMainMenu* menu);
    // The menu of a frame window's active child, whose items replace the main menu's
    // items of the same group.
    void SetChildMenu(TMainMenu* menu);
    void Rebuild();
    // The menu a child window of a frame window brings along.
    static void SetWindowMenu(HWND child, TMainMenu* menu);
    // The active child of a frame window (a form with a client window for children), or none.
    HWND ActiveChild(bool* maximized = nullptr) const;
    // Follows the active child and its state: the frame window's timer calls it.
    void CheckChild();

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TBarButton& Button(int i) { return *buttons_[static_cast<size_t>(i)]; }
    int IndexOf(const TBarButton* b) const;
    RECT ButtonScreenRect(const TBarButton& b) const;
    bool SideDocked() const noexcept { return false; }
    // The height the bar asks of its dock.
    int BarHeight() const noexcept { return height_; }

    bool Visible() const;
    void Show() const;
    // Closes its open menu and leaves the keyboard mode: a hidden bar opens nothing.
    void Hide();

    // Clicking a button, as the mouse does.
    void ClickButton(int index, bool byKeyboard = false);
    bool KeyboardMode() const noexcept { return keyboard_; }
    int KeyboardButton() const noexcept { return keyboardButton_; }
    void EnterKeyboardMode(TBarButton* at);
    void LeaveKeyboardMode();
    // Moves the open menu to the next (1) or previous (-1) button's menu.
    void MoveMenu(int direction);
    void ReleaseButton(TBarButton* b);
    int HotButton() const noexcept { return hot_; }
    int PressedButton() const noexcept { return pressed_; }

    static const std::vector<TMenuBar*>& Bars();
    // The bar of the active window, or of the main form.
    static TMenuBar* ActiveBar();
    // The rules of the message hook; answers whether the message is used up.
    static bool HookMessage(const MSG& msg);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void AddButton(TMenuItem& item);
    void Layout();
    void Paint(HDC dc);
    int ButtonAt(POINT client) const;
    int ButtonWithKey(char key) const;
    void OpenMenu(int index, bool byKeyboard);
    // A key in keyboard mode; letter is the access key it types, or 0.
    void KeyboardKey(WPARAM key, char letter);
    void Redraw();
    TMenuItem* FindShortCut(TShortCut sc);
    void AddChildButtons(HWND child);

    HWND form_ = nullptr;
    TMainMenu* mainMenu_ = nullptr;
    TMainMenu* childMenu_ = nullptr;
    std::vector<std::unique_ptr<TBarButton>> buttons_;
    bool rebuilding_ = false;
    bool keyboard_ = false;
    int keyboardButton_ = -1;
    int hot_ = -1;
    int pressed_ = -1;
    int switchTo_ = -1;
    int height_ = 0;
    POINT lastMouse_{-1000, -1000};
    bool tracking_ = false;
    HWND child_ = nullptr;
    bool childMaximized_ = false;
    DWORD systemClick_ = 0;
};

} // namespace menus
