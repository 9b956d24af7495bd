// Pop-up menus drawn by the program: TDropMenu is the menu, TDropMenuForm the window
// that shows one level of its items, opening and closing with an animation. Only one
// menu tree is open at a time in the whole program.
#pragma once

#include "menus/DropMenuLayout.h"
#include "menus/MenuItem.h"
#include "menus/MenuPaint.h"
#include "menus/MenuTypes.h"
#include "win/Handles.h"
#include "win/Window.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace menus {

class TBarButton;
class TMenuBar;
class TDropMenu;

// How long a frame may wait: the rest of timeout after a frame that took spent, less
// the debt of earlier frames that overran; an overrun adds to the debt.
DWORD FrameWait(DWORD spent, DWORD timeout, DWORD& debt);

// The system sounds of the menus; silence where the platform has none.
void PlayMenuSound(const char* name);

class TDropMenuForm : public win::Window {
public:
    TDropMenuForm(TDropMenu& menu, TDropMenuForm* parent);
    ~TDropMenuForm() override;

    // The level to show: the children of owner, drawn in font.
    void Setup(TMenuItem* owner, HFONT font, TAnimation openAnimation, TAnimation closeAnimation);
    // Measures, places (at is the requested top-left, screen) and opens with the animation.
    void Popup(POINT at, const TPlacement& context);
    // Closes open sub-menus first, then this one.
    void CloseUp(bool animate);

    SIZE Measure();
    bool Showing() const { return showing_; }
    TMenuItem* Level() const noexcept { return owner_; }
    int ItemCount() const { return static_cast<int>(rows_.size()); }
    TMenuItem* Row(int i) const { return rows_[static_cast<size_t>(i)]; }
    int Selected() const noexcept { return selected_; }
    void Select(int row, bool byKeyboard);
    RECT RowRect(int row) const;
    int RowAt(int y) const;
    TDropMenuForm* Child() const noexcept { return child_.get(); }
    TDropMenuForm* ParentForm() const noexcept { return parent_; }
    TDropMenuForm& Innermost();
    bool Leftwards() const noexcept { return leftwards_; }
    bool Upwards() const noexcept { return upwards_; }
    TAnimationSteps Steps() const noexcept { return steps_; }
    TAnimation OpenAnimation() const noexcept { return open_; }
    // The frame sizes the last opening showed, for the timing of the program's menus.
    const std::vector<SIZE>& ShownFrames() const noexcept { return shownFrames_; }
    // A key for the innermost drop-down; letter is the access key it types, 0 for a
    // key that types none or one held with Ctrl or Alt. Answers whether it was used.
    bool KeyDown(WPARAM key, char letter);
    void Choose(int row);
    void OpenSubMenu(int row);
    void CloseChild(bool animate);
    // Any of this chain of drop-downs under the screen point.
    bool Contains(POINT screen) const;
    // The image shown beside an item by the image rule, or an empty one.
    static TImage ItemImage(const TMenuItem& item);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Render();
    void Repaint();
    void SetAnchoredSize(SIZE s);
    void ProcessPending(UINT first, UINT last);
    bool StillOpen() const;
    void MouseMove(POINT p);
    void Tick();
    void StartTimer();
    void StopTimer();
    void ShowStatus();

    TDropMenu& menu_;
    TDropMenuForm* parent_;
    std::unique_ptr<TDropMenuForm> child_;
    TMenuItem* owner_ = nullptr;
    std::vector<TMenuItem*> rows_;
    std::vector<TImage> images_;
    int selected_ = -1;
    int previous_ = -1;
    int ticked_ = -1;
    bool keyboard_ = false;
    int captionWidth_ = 0;
    TAnimation open_ = TAnimation::anNone, openNow_ = TAnimation::anNone, close_ = TAnimation::anNone;
    TAnimationSteps steps_{};
    bool leftwards_ = false, upwards_ = false;
    bool opening_ = false, closing_ = false, showing_ = false;
    RECT bounds_{};
    POINT lastMouse_{-1000, -1000};
    HFONT font_ = nullptr;
    win::UniqueFont bold_;
    TOffscreen image_;
    std::vector<SIZE> shownFrames_;
};

// What a drop-down menu and a menu bar, which hands them on to its drop-downs, have alike.
struct TDropMenuSettings {
    bool ShowHint = false;
    TAnimation OpenAnimation = TAnimation::anPopup;
    TAnimation CloseAnimation = TAnimation::anPopup;
    int Timeout = 20;
    bool DoubleSpeed = false;
    int ItemHeight = 19;
    int SeparatorHeight = 11;
    int Indent = 27;
    HWND StatusBar = nullptr;
    int StatusBarIndex = 0;
    TMenuAlignment Alignment = TMenuAlignment::taLeftJustify;
    HFONT Font = nullptr;
    bool ParentFont = true;
    std::function<void()> OnPopup;
    std::function<void(TMenuItem*)> OnMenuCommand;
    std::function<void(TMenuItem*)> OnMenuClose;
};

class TDropMenu : public TDropMenuSettings {
public:
    // owner: the form whose commands the items are; it receives the posted commands.
    explicit TDropMenu(HWND owner);
    TDropMenu(const TDropMenu&) = delete;
    TDropMenu& operator=(const TDropMenu&) = delete;
    virtual ~TDropMenu();

    // The items shown: the menu item whose children the menu bar gives it, or its own.
    TMenuItem* Items() noexcept { return items_ ? items_ : &own_; }
    void SetItems(TMenuItem* item) noexcept { items_ = item; }
    HWND Owner() const noexcept { return owner_; }
    // The bar button that opened this menu, if any.
    TBarButton* Button = nullptr;
    TMenuBar* Bar = nullptr;

    void Popup(int x, int y);
    // Closes this menu's tree: animated after a click, a key or a command, at once
    // when another menu opens or the program loses the activation.
    void CloseTree(bool animate);
    bool IsOpen() const;
    TDropMenuForm& Form();
    HFONT ShownFont() const;
    // Runs an item as chosen: sound, OnMenuCommand, then its click.
    void Execute(TMenuItem& item);

    // The help file that F1 on an item with a help context opens.
    static std::string HelpFile;

    static TDropMenu* Active();
    static void CloseActive(bool animate);

protected:
    // Where the drop-down hangs from; the menu bar and the system menu tell.
    virtual TPlacement Context(POINT at) const;

private:
    HWND owner_;
    TMenuItem own_;
    TMenuItem* items_ = nullptr;
    std::unique_ptr<TDropMenuForm> form_;
};

// Shows a status text in a status bar: its simple text, or the text of a panel.
void SetStatusText(HWND statusBar, int index, const std::string& text);

} // namespace menus
