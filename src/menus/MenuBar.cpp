#include "menus/MenuBar.h"

TMenuBar::~TMenuBar()
{
    // Detached, the menu is ours alone to destroy, and the window will not destroy it again.
    if (form_ && IsWindow(form_) && GetMenu(form_) == menu_.get()) SetMenu(form_, nullptr);
}

void TMenuBar::Attach(HWND form, HMENU menu)
{
    form_ = form;
    menu_.reset(menu);
    Show();
}

bool TMenuBar::Visible() const { return form_ && GetMenu(form_) == menu_.get(); }

void TMenuBar::Show() const
{
    if (form_ && !Visible()) SetMenu(form_, menu_.get());
}

void TMenuBar::Hide() const
{
    if (Visible()) SetMenu(form_, nullptr);
}
