// Images of a menu item: two bitmaps attached to the item's platform menu entry,
// shown by the drop-downs and the bar buttons beside the item.
#pragma once

#include "menus/MenuItem.h"
#include "win/Handles.h"

#include <string>

namespace menus {

class TMenuItemBitmaps {
public:
    // owner: the form whose menus the item belongs to.
    explicit TMenuItemBitmaps(HWND owner);
    TMenuItemBitmaps(const TMenuItemBitmaps&) = delete;
    TMenuItemBitmaps& operator=(const TMenuItemBitmaps&) = delete;
    ~TMenuItemBitmaps();

    HBITMAP CheckedBitmap() const noexcept { return checked_.get(); }
    HBITMAP UncheckedBitmap() const noexcept { return unchecked_.get(); }
    TMenuItem* MenuItem() const noexcept { return item_; }
    void SetMenuItem(TMenuItem* item);
    bool SingleBitmap() const noexcept { return single_; }
    void SetSingleBitmap(bool single);
    // A bitmap resource by name, or "#" and a number for a numbered one; a name that
    // is neither is reported in an error box.
    void SetCheckedBmpResource(const std::string& name);
    void SetUncheckedBmpResource(const std::string& name);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);

    // Attaches the bitmaps again (the platform entry may have been made anew).
    void Attach() const;
    void Detach() const;
    // Every component of the owner form attaches again.
    static void RefreshAll(HWND owner);

private:
    static win::UniqueBitmap Load(const std::string& name);

    HWND owner_;
    TMenuItem* item_ = nullptr;
    bool single_ = false;
    bool enabled_ = true;
    win::UniqueBitmap checked_, unchecked_;
};

} // namespace menus
