// The program's menu items: a tree read from a platform menu, which keeps that menu
// as the place where images are attached, and gives each item a name, a hint, a
// shortcut and a click handler of its own.
#pragma once

#include "win/Handles.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace menus {

// A shortcut: the virtual key plus 0x2000 for Shift, 0x4000 for Ctrl, 0x8000 for Alt.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// Reads a shortcut text such as "Strg+O" or "Ctrl+Shift+F5"; 0 when there is none.
TShortCut TextToShortCut(const std::string& text);

class TMenuItem {
public:
    TMenuItem() = default;
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    std::string Name;
    // The caption as the platform menu holds it: the shortcut text follows a tab.
    std::string Caption;
    // "short|long": the short part is the tooltip, the long part the status text.
    std::string Hint;
    TShortCut ShortCut = 0;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    bool RadioItem = false;
    bool Default = false;
    int GroupIndex = 0;
    int HelpContext = 0;
    UINT Command = 0;  // the platform entry's command identifier
    INT_PTR Tag = 0;
    std::function<void(TMenuItem&)> OnClick;

    // The platform menu whose entry this is, and the platform menu of its children.
    HMENU ParentHandle = nullptr;
    int Position = -1;
    HMENU Handle = nullptr;
    TMenuItem* Parent = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> Items;

    bool IsLine() const { return Caption == "-"; }
    std::string Text() const;          // before the tab
    std::string ShortCutText() const;  // after the tab
    TMenuItem& Add(std::unique_ptr<TMenuItem> child);
    // Runs the click handler; an item without one is an entry of the platform menu
    // alone, and posts its command to owner, as the platform menu would have done.
    void Click(HWND owner);
    // Visible and enabled, with every parent.
    bool Available() const;
    // The first item of this tree with the shortcut, or none.
    TMenuItem* FindShortCut(TShortCut sc);
    TMenuItem* FindCommand(UINT command);
    TMenuItem* FindName(const std::string& name);
};

// A main menu: the platform menu, owned, and the tree read from it.
class TMainMenu {
public:
    explicit TMainMenu(HMENU menu);
    HMENU Handle() const noexcept { return menu_.get(); }
    TMenuItem& Items() noexcept { return root_; }

private:
    win::UniqueMenu menu_;
    TMenuItem root_;
};

// The resource name the image rule derives from a name or caption: its letters, in
// upper case ("Exit1" gives "EXIT").
std::string ImageResourceName(const std::string& text);

// Reads the entries of a platform menu, and their sub-menus, into parent.
void ReadMenu(HMENU menu, TMenuItem& parent);

} // namespace menus
