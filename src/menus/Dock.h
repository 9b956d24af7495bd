// The area along the top edge of a form that holds toolbars: as wide as the form's
// client area and as high as the tallest bar in it.
#pragma once

#include "win/Window.h"

namespace menus {

class TDock : public win::Window {
public:
    // height: the height it has while it holds nothing.
    void CreateWnd(HWND form, int id, int height);
    // Grows or shrinks to the tallest of its bars (never below the empty height);
    // answers the height.
    int AdjustSize();
    int Height() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int emptyHeight_ = 0;
};

} // namespace menus
