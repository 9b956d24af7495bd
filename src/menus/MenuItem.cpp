#include "menus/MenuItem.h"

#include "win/RecordSizes.h"

namespace menus {

TShortCut TextToShortCut(const std::string& text)
{
    if (text.empty()) return 0;
    TShortCut flags = 0;
    std::string rest = text;
    for (;;) {
        auto plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 == rest.size()) break;
        std::string mod = rest.substr(0, plus);
        CharUpperA(mod.data());
        if (mod == "STRG" || mod == "CTRL") flags |= scCtrl;
        else if (mod == "UMSCHALT" || mod == "SHIFT" || mod == "UMSCH") flags |= scShift;
        else if (mod == "ALT") flags |= scAlt;
        else return 0;
        rest = rest.substr(plus + 1);
    }
    if (rest.size() == 1) {
        char c[2] = {rest[0], 0};
        CharUpperA(c);
        if ((c[0] >= 'A' && c[0] <= 'Z') || (c[0] >= '0' && c[0] <= '9')) return flags | static_cast<BYTE>(c[0]);
        return 0;
    }
    if (rest.size() >= 2 && (rest[0] == 'F' || rest[0] == 'f')) {
        int n = atoi(rest.c_str() + 1);
        if (n >= 1 && n <= 24) return flags | static_cast<TShortCut>(VK_F1 + n - 1);
    }
    static const std::pair<const char*, BYTE> named[] = {{"Entf", VK_DELETE}, {"Del", VK_DELETE},
                                                         {"Einfg", VK_INSERT}, {"Ins", VK_INSERT}};
    for (const auto& [name, vk] : named)
        if (lstrcmpiA(rest.c_str(), name) == 0) return flags | vk;
    return 0;
}

std::string TMenuItem::Text() const { return Caption.substr(0, Caption.find('\t')); }

std::string TMenuItem::ShortCutText() const
{
    auto tab = Caption.find('\t');
    return tab == std::string::npos ? std::string() : Caption.substr(tab + 1);
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> child)
{
    child->Parent = this;
    Items.push_back(std::move(child));
    return *Items.back();
}

void TMenuItem::Click(HWND owner)
{
    if (OnClick) {
        OnClick(*this);
        return;
    }
    if (Command && !IsLine() && Enabled && Items.empty() && owner)
        PostMessageA(owner, WM_COMMAND, MAKEWPARAM(Command, 0), 0);
}

std::string ImageResourceName(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (IsCharAlphaA(c)) out += c;
    CharUpperA(out.data());
    return out;
}

bool TMenuItem::Available() const
{
    for (const TMenuItem* i = this; i && i->Parent; i = i->Parent)
        if (!i->Visible || !i->Enabled) return false;
    return true;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut sc)
{
    for (auto& i : Items) {
        if (i->ShortCut == sc) return i.get();
        if (TMenuItem* found = i->FindShortCut(sc)) return found;
    }
    return nullptr;
}

TMenuItem* TMenuItem::FindCommand(UINT command)
{
    for (auto& i : Items) {
        if (i->Items.empty() && i->Command == command && !i->IsLine()) return i.get();
        if (TMenuItem* found = i->FindCommand(command)) return found;
    }
    return nullptr;
}

TMenuItem* TMenuItem::FindName(const std::string& name)
{
    for (auto& i : Items) {
        if (i->Name == name) return i.get();
        if (TMenuItem* found = i->FindName(name)) return found;
    }
    return nullptr;
}

void ReadMenu(HMENU menu, TMenuItem& parent)
{
    parent.Handle = menu;
    const int count = GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        char text[256] = {};
        MENUITEMINFOA mii{win::kMenuItemInfoSize};
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = sizeof text;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &mii)) continue;
        auto item = std::make_unique<TMenuItem>();
        item->ParentHandle = menu;
        item->Position = pos;
        item->Command = mii.wID;
        item->Caption = (mii.fType & MFT_SEPARATOR) ? "-" : text;
        item->Enabled = !(mii.fState & (MFS_DISABLED | MFS_GRAYED));
        item->Checked = (mii.fState & MFS_CHECKED) != 0;
        item->RadioItem = (mii.fType & MFT_RADIOCHECK) != 0;
        item->Default = (mii.fState & MFS_DEFAULT) != 0;
        item->ShortCut = TextToShortCut(item->ShortCutText());
        TMenuItem& added = parent.Add(std::move(item));
        if (mii.hSubMenu) ReadMenu(mii.hSubMenu, added);
    }
}

TMainMenu::TMainMenu(HMENU menu) : menu_(menu) { ReadMenu(menu, root_); }

} // namespace menus
