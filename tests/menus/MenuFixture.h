// A small form of the menus' own form class with a dock, a bar and a test menu, and
// real key and mouse input to it, for the menu tests in this process.
#pragma once

#include "Driver.h"

#include "menus/Dock.h"
#include "menus/DropMenus.h"
#include "menus/MenuBar.h"
#include "menus/SystemMenu.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace menutest {

enum : UINT {
    kNew = 201, kOpen = 202, kGray = 203, kOne = 211, kTwo = 212, kEnd = 209,
    kAlpha = 221, kBeta = 222, kInfo = 231
};

// Dispatches what arrives for ms milliseconds, as the program's loop would.
using driver::Pump;
void Key(WORD vk, bool up);
// Presses and releases a key, with modifiers held around it, and lets it arrive.
void Press(WORD vk, std::initializer_list<WORD> modifiers = {});
void Click(POINT screen);
// The visible drop-down windows of this process.
std::vector<HWND> DropDowns();

class Host : public menus::TForm {
public:
    explicit Host(DWORD style = WS_OVERLAPPEDWINDOW);
    ~Host() override;
    std::vector<UINT> commands;
    std::vector<UINT> sysCommands;  // recorded and not carried out

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// "&Datei": "&Neu\tStrg+N", "&Öffnen...", separator, "&Grau" (disabled), "&Mehr" with
// "&Eins" and "&Zwei", separator, "&Ende"; "&Extras": "&Alpha", "&Beta"; "&?": "&Info".
HMENU MakeTestMenu();

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Brings the host to the front with the keyboard focus.
    void Activate();
    menus::TMenuItem& Top(int i) { return *menu->Items().Items[static_cast<size_t>(i)]; }

    // One host for every test: taking a shown window down costs Wine seconds.
    Host* host = nullptr;
    std::unique_ptr<menus::TMainMenu> menu;
    std::unique_ptr<menus::TDock> dock;
    std::unique_ptr<menus::TMenuBar> bar;
};

} // namespace menutest
