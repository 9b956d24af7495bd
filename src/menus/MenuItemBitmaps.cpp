#include "menus/MenuItemBitmaps.h"

#include <algorithm>
#include <vector>

namespace menus {

namespace {

std::vector<TMenuItemBitmaps*>& All()
{
    static std::vector<TMenuItemBitmaps*> all;
    return all;
}

} // namespace

TMenuItemBitmaps::TMenuItemBitmaps(HWND owner) : owner_(owner) { All().push_back(this); }

TMenuItemBitmaps::~TMenuItemBitmaps()
{
    Detach();
    auto& all = All();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void TMenuItemBitmaps::SetMenuItem(TMenuItem* item)
{
    Detach();
    item_ = item;
    Attach();
}

void TMenuItemBitmaps::SetSingleBitmap(bool single)
{
    single_ = single;
    Attach();
}

win::UniqueBitmap TMenuItemBitmaps::Load(const std::string& name)
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!name.empty() && name[0] == '#') {
        const std::string digits = name.substr(1);
        if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            const std::string text = "'" + name + "' is not a valid resource name";
            MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR);
            return {};
        }
        return win::UniqueBitmap(LoadBitmapA(inst, MAKEINTRESOURCEA(std::stoi(digits))));
    }
    return win::UniqueBitmap(name.empty() ? nullptr : LoadBitmapA(inst, name.c_str()));
}

void TMenuItemBitmaps::SetCheckedBmpResource(const std::string& name)
{
    checked_ = Load(name);
    Attach();
}

void TMenuItemBitmaps::SetUncheckedBmpResource(const std::string& name)
{
    unchecked_ = Load(name);
    Attach();
}

void TMenuItemBitmaps::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (enabled) Attach();
    else Detach();
}

void TMenuItemBitmaps::Attach() const
{
    if (!enabled_ || !item_ || !item_->ParentHandle || !item_->Command) return;
    HBITMAP unchecked = unchecked_.get();
    HBITMAP checked = single_ ? unchecked : checked_.get();
    if (single_ && !unchecked) unchecked = checked = checked_.get();
    SetMenuItemBitmaps(item_->ParentHandle, item_->Command, MF_BYCOMMAND, unchecked, checked);
}

void TMenuItemBitmaps::Detach() const
{
    if (!item_ || !item_->ParentHandle || !item_->Command) return;
    SetMenuItemBitmaps(item_->ParentHandle, item_->Command, MF_BYCOMMAND, nullptr, nullptr);
}

void TMenuItemBitmaps::RefreshAll(HWND owner)
{
    for (TMenuItemBitmaps* b : All())
        if (b->owner_ == owner) b->Attach();
}

} // namespace menus
