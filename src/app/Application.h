// The process-wide application: title, help file, the window without an area of its
// own that owns the main window (and the error box, the About box and the format
// dialog) and carries the program's taskbar button under its title, the message loop
// and the message pump that long commands call.
#pragma once

#include "win/Handles.h"
#include "win/Window.h"

#include <exception>
#include <functional>
#include <string>

class TApplication : public win::Window {
public:
    explicit TApplication(HINSTANCE instance);
    ~TApplication() override;

    static TApplication& Instance();

    std::string Title;
    std::string HelpFile;
    HICON Icon() const noexcept { return icon_; }
    HICON SmallIcon() const noexcept { return smallIcon_; }

    // The menus look up the main form's shortcuts whichever window of the program is active.
    void SetMainForm(HWND form) noexcept;
    HWND MainForm() const noexcept { return mainForm_; }

    // Dispatches every message already waiting, without waiting for new ones.
    void ProcessMessages();
    // Shows the main form and runs the loop until Terminate; answers the exit code.
    int Run();
    void Terminate(int exitCode = 0);
    bool Terminated() const noexcept { return terminated_; }

    // The standard error box: the message with a full stop, owned by this window.
    void ShowException(const std::exception& e) const;
    // An unattended run has nobody to close the box: its errors go to report instead,
    // as the same text. An empty report brings the box back.
    void ReportErrorsTo(std::function<void(const std::string&)> report) { errorReport_ = std::move(report); }
    bool ShowingError() const noexcept { return errorBoxes_ > 0; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool Dispatch(MSG& msg);

    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND mainForm_ = nullptr;
    bool terminated_ = false;
    int exitCode_ = 0;
    mutable int errorBoxes_ = 0;
    std::function<void(const std::string&)> errorReport_;
};
