// Changes the system's non-client fonts for a test, telling every window as the
// control panel does, and puts the old ones back.
#pragma once

#include "win/RecordSizes.h"

#include <windows.h>

#include <functional>

class SystemFonts {
public:
    explicit SystemFonts(const std::function<void(NONCLIENTMETRICSA&)>& change)
    {
        saved_.cbSize = kSize;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kSize, &saved_, 0);
        NONCLIENTMETRICSA m = saved_;
        change(m);
        Set(m);
    }
    SystemFonts(const SystemFonts&) = delete;
    SystemFonts& operator=(const SystemFonts&) = delete;
    ~SystemFonts() { Set(saved_); }

private:
    static constexpr UINT kSize = win::kNonClientMetricsSize;

    static void Set(NONCLIENTMETRICSA& m)
    {
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, kSize, &m, SPIF_SENDCHANGE);
        // Wine stores the change without telling the windows; the control panel's
        // broadcast does it, as on Windows.
        DWORD_PTR ignored;
        SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0, SMTO_ABORTIFHUNG, 2000,
                            &ignored);
    }

    NONCLIENTMETRICSA saved_{};
};

inline SystemFonts StatusFace(const char* face)
{
    return SystemFonts([face](NONCLIENTMETRICSA& m) { lstrcpynA(m.lfStatusFont.lfFaceName, face, LF_FACESIZE); });
}
