#include "app/About.h"

#include "app/resource.h"
#include "win/Window.h"

namespace {

class TAboutBox : public win::Dialog {
public:
    explicit TAboutBox(HICON icon) : icon_(icon) {}

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM) override
    {
        switch (msg) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(Handle(), IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(Handle(), LOWORD(wp));
            return TRUE;
        default:
            return FALSE;
        }
    }

private:
    HICON icon_;
};

} // namespace

void ShowAbout(HWND owner, HICON icon)
{
    TAboutBox box(icon);
    box.ShowModal(owner, IDD_ABOUT);
}
