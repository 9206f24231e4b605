// How GDI's pens, fonts and colours translate into painter settings, apart
// from any painting library.
#pragma once

#include <cstdint>

namespace zor::host {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb &) const = default;
};

// A COLORREF is 0x00BBGGRR.
Rgb RgbOf(std::uint32_t colorref);

// A pen of width 0 draws one pixel wide, as does any width below 1.
int PenPixelWidth(int width);

// A pen wider than one pixel is geometric: round ends and round joins.
bool PenHasRoundEnds(int width);

// A weight of 0 (FW_DONTCARE) is normal (400); others are kept within 1-1000.
int FontWeight(int weight);

enum class FontFamily { SansSerif, Serif, Monospace, Cursive, Decorative };

// The generic family asked for in the high nibble of pitch-and-family; one
// that does not say (FF_DONTCARE) falls back to a sans-serif face.
FontFamily FontFamilyOf(std::uint32_t pitchAndFamily);
bool FontFixedPitch(std::uint32_t pitchAndFamily);

enum class FontSmoothing { Default, Antialiased, Aliased };

// DEFAULT and DRAFT leave smoothing to the host; PROOF, ANTIALIASED and
// CLEARTYPE ask for it; NONANTIALIASED refuses it.
FontSmoothing FontSmoothingOf(std::uint32_t quality);

// OUT_TT_ONLY_PRECIS and OUT_OUTLINE_PRECIS ask for scalable outline fonts.
bool FontWantsOutline(std::uint32_t outputPrecision);

// The pixel size to ask a font for so that it matches a GDI height. A
// positive height is the cell height (ascent plus descent): the size is
// scaled by what a probe at `probeSize` pixels measured as its cell height.
// A negative height is the character height, which is the pixel size itself.
// Zero asks for `defaultSize`.
int FontPixelSize(int height, int probeSize, double probeCellHeight, int defaultSize);

// Text is placed by the top of its cell: the baseline is that far below.
int BaselineForTop(int top, int ascent);

} // namespace zor::host
