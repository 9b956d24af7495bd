// A caption bar painted by the program: a horizontal gradient with up to three texts
// (company, application name, the rest of the window caption), each in a font and
// colour of its own. It takes over its form's window procedure and answers the
// non-client paint and activation messages itself; everything else goes on to the
// form's own procedure.
#pragma once

#include "win/Color.h"
#include "win/Handles.h"
#include "win/HiddenWindow.h"
#include "win/Window.h"

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class TGradEnabled { geAlways, geNever, geWhenActive, geSmart };
enum class TJustification { jAuto, jLeft, jCenter, jRight };
enum class TFontKind { fkCustom, fkSystem, fkSystemI, fkSystemB, fkSystemBI, fkAutoHeight };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

class TGradientCaption;

// One text of the caption bar. Every change makes the component redraw the frame; a
// changed text or visibility also rewrites the form's caption.
class TCompanyText {
public:
    explicit TCompanyText(TGradientCaption& owner);
    TCompanyText(const TCompanyText&) = delete;
    TCompanyText& operator=(const TCompanyText&) = delete;
    virtual ~TCompanyText() = default;

    virtual std::string Caption() const { return caption_; }
    virtual void SetCaption(const std::string& v);
    win::Color ColorActive() const noexcept { return colorActive_; }
    void SetColorActive(win::Color v);
    win::Color ColorInactive() const noexcept { return colorInactive_; }
    void SetColorInactive(win::Color v);
    // The font the text is drawn in; assigning one makes the kind fkCustom, except
    // under fkAutoHeight, which keeps the face and fits the height again.
    const LOGFONTA& Font() const noexcept { return font_; }
    void SetFont(const LOGFONTA& v);
    TFontKind FontKind() const noexcept { return fontKind_; }
    void SetFontKind(TFontKind v);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool v);

    HFONT FontHandle() const noexcept { return handle_.get(); }
    // Derives the font from the caption font again (after the system's fonts changed).
    void ApplyFontKind();

protected:
    friend class TGradientCaption;
    TGradientCaption& owner_;
    std::string caption_;

private:
    void UseFont(const LOGFONTA& f);

    win::Color colorActive_ = win::SystemColor(COLOR_CAPTIONTEXT);
    win::Color colorInactive_ = win::SystemColor(COLOR_INACTIVECAPTIONTEXT);
    LOGFONTA font_{};
    TFontKind fontKind_ = TFontKind::fkSystem;
    bool visible_ = true;
    win::UniqueFont handle_;
};

class TAppNameText : public TCompanyText {
public:
    using TCompanyText::TCompanyText;
};

// The rest of the window caption: what is left of the form's caption once the company
// text and the application name are taken off its front.
class TCaptionText : public TCompanyText {
public:
    using TCompanyText::TCompanyText;
    std::string Caption() const override;
    void SetCaption(const std::string& v) override;
};

class TGradientCaption {
public:
    using TOnDrawCaption = std::function<void(TGradientCaption& Sender, HDC Canvas, RECT& R)>;

    // Takes over the form's window procedure as soon as the form has a window; a form
    // made after the component calls Loaded once it has one.
    explicit TGradientCaption(win::Window& form);
    TGradientCaption(const TGradientCaption&) = delete;
    TGradientCaption& operator=(const TGradientCaption&) = delete;
    ~TGradientCaption();

    // Declared first, so that they are made in this order: company, name, caption.
    TCompanyText CompanyText{*this};
    TAppNameText AppNameText{*this};
    TCaptionText CaptionText{*this};

    win::Color ColorLeftActive() const noexcept { return colorLeftActive_; }
    void SetColorLeftActive(win::Color v);
    win::Color ColorLeftInActive() const noexcept { return colorLeftInActive_; }
    void SetColorLeftInActive(win::Color v);
    win::Color ColorRightActive() const noexcept { return colorRightActive_; }
    void SetColorRightActive(win::Color v);
    win::Color ColorRightInActive() const noexcept { return colorRightInActive_; }
    void SetColorRightInActive(win::Color v);
    TGradEnabled Enabled() const noexcept { return enabled_; }
    void SetEnabled(TGradEnabled v);
    TJustification Justification() const noexcept { return justification_; }
    void SetJustification(TJustification v);
    int NumColors() const noexcept { return numColors_; }
    // Below 1 is refused; above 256 stores 256.
    void SetNumColors(int v);
    TOnDrawCaption OnDrawCaption;

    // The form's window was made (or made again) since construction.
    void Loaded();
    // Tells the component that its form is going, so that it leaves the caption alone.
    void FormDestroying() noexcept { formDestroying_ = true; }

    HWND FormHandle() const noexcept { return form_.Handle(); }
    const LOGFONTA& CaptionFont() const noexcept { return captionFont_; }
    // Active as last told by the platform; until then, whether the form is the active window.
    bool FormActive() const;
    // Window coordinates; empty for a form without caption.
    RECT CaptionRect() const;
    // The caption less its buttons, where the icon and the texts go.
    RECT TextArea() const;
    void RedrawFrame() const;

    // The colour bands of a gradient over [0, width).
    struct Band {
        int left, right;
        COLORREF color;
    };
    static std::vector<Band> GradientBands(int width, int numColors, COLORREF from, COLORREF to);
    static bool GradientDrawn(TGradEnabled enabled, bool active, int bitsPerPixel);
    // The company text, the name and the caption as laid out: width is the text's own
    // plus 3; shown says whether it is drawn at all (visible, and for the first two, not
    // empty). Answers each text's left edge, or -1 for a text left out: a narrow bar
    // drops the company text first, then the name.
    struct TTextSlot {
        int width;
        bool visible, shown;
    };
    static std::array<int, 3> LayoutTexts(const std::array<TTextSlot, 3>& texts, TJustification justification,
                                          int left, int right);
    static TFormBorderStyle BorderStyleOf(HWND form);

    // The message posted to the component's application window to take the form's
    // new window over once the old one is gone.
    static constexpr UINT kReinstallMessage = 0x498C;

private:
    friend class TCompanyText;
    friend class TCaptionText;

    static LRESULT CALLBACK Hook(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT FormProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    bool AppHook(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void Install();
    void Uninstall();
    void ReadCaptionFont();
    void PropertyChanged() const;
    // Rewrites the form's caption from the elements, rest being the caption element's text.
    void ComposeFormCaption(const std::string& rest);
    void PaintCaption(bool active);
    void PaintTexts(HDC dc, RECT area, bool active);

    win::Window& form_;
    WNDPROC previous_ = nullptr;
    HWND installedOn_ = nullptr;
    bool installed_ = false;
    bool waitingToReinstall_ = false;
    bool active_ = false;
    bool activeKnown_ = false;
    bool destroying_ = false;
    bool formDestroying_ = false;
    LOGFONTA captionFont_{};
    win::UniqueFont captionFontHandle_;

    win::Color colorLeftActive_ = win::clBlack;
    win::Color colorLeftInActive_ = win::clBlack;
    win::Color colorRightActive_ = win::SystemColor(COLOR_ACTIVECAPTION);
    win::Color colorRightInActive_ = win::SystemColor(COLOR_INACTIVECAPTION);
    TGradEnabled enabled_ = TGradEnabled::geSmart;
    TJustification justification_ = TJustification::jAuto;
    int numColors_ = 64;

    // Stands in for the application window's hook: receives the reinstall message.
    // Made when the form's window is first made again, which most runs never see.
    std::unique_ptr<win::HiddenWindow> appWindow_;
};
