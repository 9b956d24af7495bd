// Windows 95 takes these records only at the sizes it knows and refuses any other: no
// menu font, no menu items and no file-open dialog there. mingw-w64's headers declare
// the newest form of each whatever system they are set for, so a record is passed with
// the size of the fields Windows 95 has; every later system accepts that size too.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstddef>

namespace win {

// Without the padded border of Windows Vista.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
// Without the item bitmap of Windows 98.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
// Without the fields of Windows 2000.
constexpr DWORD kOpenFileNameSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);

constexpr bool k32Bit = sizeof(void*) == 4;
static_assert(kNonClientMetricsSize == 340);
static_assert(kMenuItemInfoSize == (k32Bit ? 44 : 72));
static_assert(kOpenFileNameSize == (k32Bit ? 76 : 136));

} // namespace win
