// The drive-letter prompt "Auswahl": one upper-case character, confirmed with OK or
// taken as it stands when the window is closed.
#pragma once

#include "win/Handles.h"
#include "win/Window.h"

#include <string>

class TForm1;

class TForm4 : public win::Dialog {
public:
    explicit TForm4(TForm1& owner) : owner_(owner) {}

    // Shows the prompt modally, owned by the main window.
    void ShowModal();
    // What Edit1 held when the prompt closed.
    const std::string& Edit1Text() const noexcept { return edit1Text_; }

    void Button1Click();

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();

    TForm1& owner_;
    win::UniqueFont font_;
    std::string edit1Text_;
};
