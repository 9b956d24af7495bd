// Shows the program's tooltips. It watches the mouse through the messages of the
// user-interface thread (a WH_GETMESSAGE hook, so modal loops are covered too), asks
// the window under the mouse, then its parents, for a hint with win::HintQueryMessage,
// and shows the answer in the one tooltip window after the program's delays. Any
// click or key press hides the tooltip; so does leaving the hinted part.
#pragma once

#include "chrome/FlatHint.h"
#include "win/Handles.h"
#include "win/HiddenWindow.h"

#include <windows.h>

#include <memory>
#include <string>

class THintManager {
public:
    explicit THintManager(TFlatHint& style);
    THintManager(const THintManager&) = delete;
    THintManager& operator=(const THintManager&) = delete;
    ~THintManager();

    struct Target {
        HWND window = nullptr;  // the window that answered
        RECT area{};            // its hinted part, in screen coordinates
        std::string text;
    };
    // The hint at a screen point: from the innermost window of this thread that has one.
    static Target FindTarget(POINT screen);

private:
    enum TimerId : UINT_PTR { kShow = 1, kHide, kLeave };

    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp);
    void Observe(const MSG& msg);
    void MouseAt(POINT screen);
    void Cancel();
    void Activate();
    bool Timer(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void StartTimer(TimerId id, UINT ms);
    void StopTimer(TimerId id);
    void HideWindow();

    TFlatHint& style_;
    // The tooltip window and the window for its timers are made for the first tooltip:
    // each costs the program's start some 2 ms under Wine.
    std::unique_ptr<TFlatHintWindow> window_;
    std::unique_ptr<win::HiddenWindow> timers_;
    win::UniqueHook hook_;
    Target current_;
    // A tooltip was shown for the current run of hinted parts: the next one comes sooner.
    bool active_ = false;
};
