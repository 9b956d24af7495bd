// The drive-letter prompt "Auswahl": one upper-case character, confirmed with OK or
// taken as it stands when the window is closed.
#pragma once

#include "win/Handles.h"
#include "win/Window.h"

#include <optional>
#include <string>

class TForm4 : public win::Dialog {
public:
    explicit TForm4(HWND owner) : owner_(owner) {}

    // Shows the prompt modally, owned by the main window; answers the letter Edit1 held
    // when the prompt closed, none when it was empty.
    std::optional<char> ShowModal();
    // What Edit1 held when the prompt closed.
    const std::string& Edit1Text() const noexcept { return edit1Text_; }

    void Button1Click();

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();

    HWND owner_;
    win::UniqueFont font_;
    std::string edit1Text_;
};
