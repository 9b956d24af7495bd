#include "chrome/HintManager.h"

#include "win/Hint.h"

namespace {

THintManager* g_manager = nullptr;

// While a hint is pending or shown, the mouse is looked for this often: leaving the
// program's windows brings no message of ours.
constexpr UINT kLeaveCheckMs = 100;

bool SameTarget(const THintManager::Target& a, const THintManager::Target& b)
{
    return a.window == b.window && EqualRect(&a.area, &b.area) && a.text == b.text;
}

} // namespace

THintManager::THintManager(TFlatHint& style)
    : style_(style)
{
    g_manager = this;
    hook_.reset(SetWindowsHookExA(WH_GETMESSAGE, &THintManager::GetMessageHook, nullptr, GetCurrentThreadId()));
}

THintManager::~THintManager()
{
    hook_.reset();
    if (g_manager == this) g_manager = nullptr;
}

LRESULT CALLBACK THintManager::GetMessageHook(int code, WPARAM wp, LPARAM lp)
{
    // A message only peeked at comes again when it is taken.
    if (code == HC_ACTION && wp == PM_REMOVE && g_manager)
        win::Guarded([&] { g_manager->Observe(*reinterpret_cast<const MSG*>(lp)); });
    return CallNextHookEx(nullptr, code, wp, lp);
}

void THintManager::Observe(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        MouseAt(msg.pt);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Cancel();
        break;
    default:
        break;
    }
}

THintManager::Target THintManager::FindTarget(POINT screen)
{
    HWND w = WindowFromPoint(screen);
    if (!w || GetWindowThreadProcessId(w, nullptr) != GetCurrentThreadId()) return {};
    for (HWND h = w; h; h = (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr) {
        win::HintQuery query;
        query.point = screen;
        ScreenToClient(h, &query.point);
        if (!SendMessageA(h, win::HintQueryMessage(), 0, reinterpret_cast<LPARAM>(&query)) || query.text.empty())
            continue;
        if (IsRectEmpty(&query.area)) GetClientRect(h, &query.area);
        MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&query.area), 2);
        return {h, query.area, std::move(query.text)};
    }
    return {};
}

void THintManager::MouseAt(POINT screen)
{
    Target target = FindTarget(screen);
    if (!target.window) {
        Cancel();
        return;
    }
    if (SameTarget(target, current_)) return;
    const bool wasActive = active_;
    StopTimer(kShow);
    StopTimer(kHide);
    HideWindow();
    current_ = std::move(target);
    const win::HintTiming& timing = win::ApplicationHintTiming();
    StartTimer(kShow, wasActive ? timing.shortPause : timing.pause);
    StartTimer(kLeave, kLeaveCheckMs);
    active_ = wasActive;
}

void THintManager::Cancel()
{
    if (!current_.window) return;
    HideWindow();
    current_ = {};
    active_ = false;
    for (TimerId id : {kShow, kHide, kLeave}) StopTimer(id);
}

void THintManager::Activate()
{
    POINT cursor;
    GetCursorPos(&cursor);
    std::string text = current_.text;
    bool canShow = true;
    THintInfo info;
    info.HintControl = current_.window;
    info.CursorRect = current_.area;
    info.CursorPos = cursor;
    info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    style_.DoShowHint(text, canShow, info);
    if (!canShow || text.empty()) return;
    if (!window_) window_ = std::make_unique<TFlatHintWindow>();
    window_->ActivateHint({0, 0, info.HintMaxWidth, 0}, text);
    active_ = true;
    StartTimer(kHide, win::ApplicationHintTiming().hidePause);
}

void THintManager::HideWindow()
{
    if (window_) window_->Hide();
}

void THintManager::StartTimer(TimerId id, UINT ms)
{
    if (!timers_)
        timers_ = std::make_unique<win::HiddenWindow>(
            [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) { return Timer(msg, wp, lp, r); });
    SetTimer(timers_->Handle(), id, ms, nullptr);
}

void THintManager::StopTimer(TimerId id)
{
    if (timers_) KillTimer(timers_->Handle(), id);
}

bool THintManager::Timer(UINT msg, WPARAM wp, LPARAM, LRESULT& result)
{
    if (msg != WM_TIMER) return false;
    result = 0;
    switch (wp) {
    case kShow: {
        StopTimer(kShow);
        POINT cursor;
        GetCursorPos(&cursor);
        if (SameTarget(FindTarget(cursor), current_))
            Activate();
        else
            MouseAt(cursor);
        break;
    }
    case kHide:
        // Hidden, but not forgotten: it comes back only after the mouse has left the part.
        StopTimer(kHide);
        HideWindow();
        break;
    case kLeave: {
        POINT cursor;
        GetCursorPos(&cursor);
        MouseAt(cursor);
        break;
    }
    default:
        return false;
    }
    return true;
}
