// The small value types that the drop-down menus, the menu bar and the system menu share.
#pragma once

namespace menus {

// How a drop-down opens or closes. The last three are resolved to one of the first four
// at each showing.
enum class TAnimation { anNone, anVSlide, anHSlide, anUnfold, anSmart, anPopup, anRandom };

enum class TMenuAlignment { taLeftJustify, taRightJustify, taCenter };

enum class TButtonOrientation { orAutomatic, orHorizontal, orVertical };

} // namespace menus
