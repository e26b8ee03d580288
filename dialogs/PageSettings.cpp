// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/PageSettings.h"

#include <QFont>
#include <cstdlib>

#include "base/TextFormat.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace plc {

bool CreateEditorFont(QFont& font, const Profile& settings) {
    const int32_t size = settings.GetInt("Font", "Size", 80);
    const int32_t weight = settings.GetInt("Font", "Weight", 400);
    const uint8_t italic = static_cast<uint8_t>(settings.GetInt("Font", "IsItalic", 0));
    const uint8_t underline = static_cast<uint8_t>(settings.GetInt("Font", "IsUnderline", 0));
    const uint8_t strikeOut = static_cast<uint8_t>(settings.GetInt("Font", "IsStrikeOut", 0));
    // Older versions wrote the name in Windows-1252.
    const std::string face = AsUtf8(settings.GetString("Font", "FaceName", "MS Sans Serif"));

    // The height of a font given in tenths of a point, as a character
    // height in pixels at 96 dots per inch.
    const int32_t height = static_cast<int32_t>(size * -0.1388888888888889);
    QFont built(ToQString(face));
    if (height != 0) built.setPixelSize(std::abs(height));
    // Weights 1 to 1000 are the same scale in Qt; 0 is the default weight.
    built.setWeight(weight <= 0 ? QFont::Normal
                                : static_cast<QFont::Weight>(std::min<int32_t>(weight, 1000)));
    built.setItalic(italic != 0);
    built.setUnderline(underline != 0);
    built.setStrikeOut(strikeOut != 0);
    built.setStyleHint(QFont::SansSerif);
    font = built;
    return true;
}

bool CreateEditorFont(QFont& font) { return CreateEditorFont(font, Profile()); }

int32_t GetTopMargin() { return Profile().GetInt("Page", "Top", 10); }
int32_t GetLeftMargin() { return Profile().GetInt("Page", "Left", 10); }

}  // namespace plc
