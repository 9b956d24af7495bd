#include "AppEnv.h"

#include "Driver.h"

#include <memory>

namespace testenv {

TApplication& App()
{
    static std::unique_ptr<TApplication> app = [] {
        auto a = std::make_unique<TApplication>(GetModuleHandleA(nullptr));
        a->HelpFile = "Pelmora.hlp";
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

} // namespace testenv
