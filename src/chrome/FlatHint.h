// The program's tooltip look: flat, borderless, in the system's tooltip colours and
// status-bar font, just below the visible tip of the mouse cursor. One TFlatHint on
// the main window is enough: it starts the tooltips of every window of the program
// (see HintManager.h) and sets their delays.
#pragma once

#include "win/Handles.h"
#include "win/HiddenWindow.h"
#include "win/Window.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

enum class THintStyle { hsFlat, hsOffice97, hsWindows95 };

// What is known about a tooltip about to be shown; the show-hint notification may change it.
struct THintInfo {
    HWND HintControl = nullptr;  // the window that answered the hint query
    RECT CursorRect{};           // the hinted part, in screen coordinates
    POINT CursorPos{};           // the mouse, in screen coordinates
    int HintMaxWidth = 0;        // the longest line the tooltip may have
};

class THintManager;

class TFlatHint {
public:
    using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

    TFlatHint();
    TFlatHint(const TFlatHint&) = delete;
    TFlatHint& operator=(const TFlatHint&) = delete;
    ~TFlatHint();

    // The one that styles the program's tooltips; null before there is one.
    static TFlatHint* Instance() noexcept;

    THintStyle HintStyle() const noexcept { return hintStyle_; }
    void SetHintStyle(THintStyle v);
    TShowHintEvent OnShowHint;

    const LOGFONTA& Font() const noexcept { return font_; }
    HFONT FontHandle() const noexcept { return fontHandle_.get(); }
    COLORREF FontColor() const { return GetSysColor(COLOR_INFOTEXT); }
    // The control whose tooltip is shown (or was shown last).
    HWND HintControl() const noexcept { return hintControl_; }

    // Called before each tooltip is shown, the way the application's own notification is.
    void DoShowHint(std::string& hintStr, bool& canShow, THintInfo& info);

    // Whether the screen's font list holds this face.
    static bool FontInstalled(const char* face);
    // The tooltips' face for the system's status-bar face: the Office 97 look takes the
    // newer Tahoma over "MS Sans Serif" where it is installed.
    static std::string FaceFor(const std::string& statusFace, THintStyle style, bool tahomaInstalled);

private:
    void ReadFont();

    THintStyle hintStyle_ = THintStyle::hsWindows95;
    LOGFONTA font_{};
    win::UniqueFont fontHandle_;
    HWND hintControl_ = nullptr;
    win::HiddenWindow messages_;
    std::unique_ptr<THintManager> manager_;
};

class TFlatHintWindow : public win::Window {
public:
    TFlatHintWindow();

    // Shows text near the mouse; rect's width limits the line length.
    void ActivateHint(RECT rect, const std::string& text);
    void Hide();

    // The room around the text, by style.
    static SIZE Padding(THintStyle style);
    // How far the cursor's visible shape reaches below its hot spot; 32 when its mask
    // cannot be read.
    static int CursorDepth(HCURSOR cursor);
    // Where a tooltip of size goes for the mouse at cursor: below the cursor's tip, kept
    // in the work area of the monitor under the cursor. hintOfForm: the hint belongs to
    // a top-level window; control: the hinted part in screen coordinates.
    static RECT Place(SIZE size, POINT cursor, int cursorDepth, const RECT& work, THintStyle style, bool hintOfForm,
                      const RECT& control);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint();

    win::UniqueBitmap image_;
    SIZE text_{};
};
