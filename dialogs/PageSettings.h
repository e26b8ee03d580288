// SPDX-License-Identifier: GPL-3.0-or-later
// The settings readers of page setup: the editor font and the print
// margins from the sections Font and Page of the settings file, read anew
// at every call.
#pragma once

#include <cstdint>

class QFont;

namespace plc {

class Profile;

// Rebuilds `font` from Font/Size (tenths of a point, default 80),
// Font/Weight (400), Font/IsItalic, Font/IsUnderline, Font/IsStrikeOut (0,
// used as bytes) and Font/FaceName ("MS Sans Serif"). The character height
// in pixels is Size * 10 / 72 truncated (Size 80 gives 11 pixels); true
// when a font was built.
bool CreateEditorFont(QFont& font, const Profile& settings);
bool CreateEditorFont(QFont& font);

// Page/Top and Page/Left in millimetres, default 10.
int32_t GetTopMargin();
int32_t GetLeftMargin();

}  // namespace plc
