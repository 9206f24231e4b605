#include "gdi_mapping.h"

#include <algorithm>
#include <cmath>

namespace zor::host {

Rgb RgbOf(std::uint32_t colorref)
{
    return {static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
            static_cast<int>((colorref >> 16) & 0xFF)};
}

int PenPixelWidth(int width)
{
    return width < 1 ? 1 : width;
}

bool PenHasRoundEnds(int width)
{
    return width > 1;
}

int FontWeight(int weight)
{
    if (weight == 0)
        return 400;
    return std::clamp(weight, 1, 1000);
}

FontFamily FontFamilyOf(std::uint32_t pitchAndFamily)
{
    switch (pitchAndFamily & 0xF0) {
    case 0x10: // FF_ROMAN
        return FontFamily::Serif;
    case 0x30: // FF_MODERN
        return FontFamily::Monospace;
    case 0x40: // FF_SCRIPT
        return FontFamily::Cursive;
    case 0x50: // FF_DECORATIVE
        return FontFamily::Decorative;
    default: // FF_DONTCARE, FF_SWISS
        return FontFamily::SansSerif;
    }
}

bool FontFixedPitch(std::uint32_t pitchAndFamily)
{
    return (pitchAndFamily & 0x03) == 1;
}

FontSmoothing FontSmoothingOf(std::uint32_t quality)
{
    switch (quality) {
    case 2: // PROOF_QUALITY
    case 4: // ANTIALIASED_QUALITY
    case 5: // CLEARTYPE_QUALITY
    case 6: // CLEARTYPE_NATURAL_QUALITY
        return FontSmoothing::Antialiased;
    case 3: // NONANTIALIASED_QUALITY
        return FontSmoothing::Aliased;
    default:
        return FontSmoothing::Default;
    }
}

bool FontWantsOutline(std::uint32_t outputPrecision)
{
    return outputPrecision == 7 || outputPrecision == 8; // OUT_TT_ONLY_PRECIS, OUT_OUTLINE_PRECIS
}

int FontPixelSize(int height, int probeSize, double probeCellHeight, int defaultSize)
{
    if (height < 0)
        return -height;
    if (height == 0)
        return defaultSize;
    if (probeSize <= 0 || probeCellHeight <= 0)
        return height;
    int size = static_cast<int>(std::lround(height * probeSize / probeCellHeight));
    return std::max(size, 1);
}

int BaselineForTop(int top, int ascent)
{
    return top + ascent;
}

} // namespace zor::host
