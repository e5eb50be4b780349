// The colours of the skin: one brand blue on white and light grey.
#pragma once

#include "canvas.h"

namespace skinart::palette {

inline constexpr Colour kBrand = Hex(0x1E6FD9);
inline constexpr Colour kBrandHot = Hex(0x3A84E6);
inline constexpr Colour kBrandPushed = Hex(0x185BB5);
inline constexpr Colour kBrandDisabled = Hex(0xA9C4EC);
inline constexpr Colour kBrandDeep = Hex(0x1450A8);
inline constexpr Colour kBrandLight = Hex(0x5FA2F2);
inline constexpr Colour kBrandTint = Hex(0xEAF2FD);
inline constexpr Colour kAccent = Hex(0x22B8D6);

inline constexpr Colour kWhite = Hex(0xFFFFFF);
inline constexpr Colour kSurface = Hex(0xF5F7FA);
inline constexpr Colour kSurfaceHot = Hex(0xEEF2F7);
inline constexpr Colour kSurfacePushed = Hex(0xE3E9F1);
inline constexpr Colour kBorder = Hex(0xD3D9E1);
inline constexpr Colour kBorderStrong = Hex(0xB8C1CC);
inline constexpr Colour kBorderFaint = Hex(0xE5E8EC);
inline constexpr Colour kMuted = Hex(0x9AA4B2);
inline constexpr Colour kText = Hex(0x1F2937);

inline constexpr Colour kDanger = Hex(0xE5484D);
inline constexpr Colour kDangerPushed = Hex(0xC93A3F);
inline constexpr Colour kWarning = Hex(0xF59E0B);

}  // namespace skinart::palette
