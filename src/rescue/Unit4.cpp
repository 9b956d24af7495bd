#include "rescue/Unit4.h"

#include "rescue/Unit4Res.h"

namespace {

constexpr int kClientWidth = 236;
constexpr int kClientHeight = 98;

struct Bounds {
    int id, left, top, width, height;
};
constexpr Bounds kLayout[] = {
    {IDC_FORM4_LABEL1, 8, 16, 131, 17},
    {IDC_FORM4_EDIT1, 144, 16, 81, 24},
    {IDC_FORM4_BUTTON1, 128, 64, 100, 28},
};

} // namespace

std::optional<char> TForm4::ShowModal()
{
    win::Dialog::ShowModal(owner_, IDD_FORM4);
    if (edit1Text_.empty()) return std::nullopt;
    return edit1Text_[0];
}

// Dialog units follow the font the platform substitutes; the design fixes pixels at
// 120 per inch, so the bounds are set here rather than trusted to the template.
void TForm4::FormCreate()
{
    HWND self = Handle();
    font_.reset(CreateFontA(-win::Scale(13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                            "MS Sans Serif"));
    for (const auto& b : kLayout) {
        HWND w = Item(b.id);
        MoveWindow(w, win::Scale(b.left), win::Scale(b.top), win::Scale(b.width), win::Scale(b.height), FALSE);
        SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    RECT r{0, 0, win::Scale(kClientWidth), win::Scale(kClientHeight)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(self, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(self, GWL_EXSTYLE)));
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(self, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    SetItemText(IDC_FORM4_EDIT1, "A");
    SendMessageA(Item(IDC_FORM4_EDIT1), EM_LIMITTEXT, 1, 0);
    SendMessageA(self, DM_SETDEFID, IDC_FORM4_BUTTON1, 0);
    SetFocus(Item(IDC_FORM4_BUTTON1));
}

void TForm4::Button1Click()
{
    const std::string text = ItemText(IDC_FORM4_EDIT1);
    // Without a letter there is nothing to format: the prompt waits for one.
    if (text.empty()) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    EndDialog(Handle(), IDOK);
}

INT_PTR TForm4::HandleMessage(UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        FormCreate();
        return FALSE; // focus is set
    case WM_COMMAND:
        if (LOWORD(wp) == IDC_FORM4_BUTTON1 && HIWORD(wp) == BN_CLICKED) Button1Click();
        // Escape does nothing: the prompt has no cancel button, only its close box.
        return TRUE;
    case WM_CLOSE:
        EndDialog(Handle(), IDCANCEL);
        return TRUE;
    case WM_DESTROY:
        // Read once the prompt is going, whichever way it was closed.
        edit1Text_ = ItemText(IDC_FORM4_EDIT1);
        return FALSE;
    default:
        return FALSE;
    }
}
