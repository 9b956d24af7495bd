#include "AppEnv.h"

#include "Driver.h"
#include "win/Files.h"

#include <memory>

namespace testenv {

TApplication& App()
{
    static std::unique_ptr<TApplication> app = [] {
        auto a = std::make_unique<TApplication>(GetModuleHandleA(nullptr));
        a->HelpFile = win::ProgramFolder() + "Pelmora.hlp";
        return a;
    }();
    return *app;
}

BoxAnswerer::BoxAnswerer(int button) : button_(button)
{
    thread_ = std::thread([this] {
        HWND box = nullptr;
        driver::WaitUntil(
            [&] {
                auto boxes = driver::TopWindows(GetCurrentProcessId(), "#32770");
                if (!boxes.empty()) box = boxes.front();
                return box != nullptr;
            },
            10000);
        if (!box) return;
        text_ = driver::Text(box) + "|" + driver::MessageText(box);
        owner_ = GetWindow(box, GW_OWNER);
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char cls[16] = {};
            GetClassNameA(c, cls, sizeof cls);
            const LONG style = GetWindowLongA(c, GWL_STYLE);
            if (lstrcmpiA(cls, "Button") == 0 && IsWindowVisible(c)) ++buttons_;
            if (lstrcmpiA(cls, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
                icon_ = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
        }
        driver::Press(box, button_);
    });
}

BoxAnswerer::~BoxAnswerer()
{
    if (thread_.joinable()) thread_.join();
}

std::string BoxAnswerer::Text()
{
    if (thread_.joinable()) thread_.join();
    return text_;
}

HWND BoxAnswerer::Owner()
{
    if (thread_.joinable()) thread_.join();
    return owner_;
}

HICON BoxAnswerer::Icon()
{
    if (thread_.joinable()) thread_.join();
    return icon_;
}

int BoxAnswerer::Buttons()
{
    if (thread_.joinable()) thread_.join();
    return buttons_;
}

} // namespace testenv
