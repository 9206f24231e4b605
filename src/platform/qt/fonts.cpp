#include "fonts.h"

#include "mapping/gdi_mapping.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace zor::host {
namespace {

constexpr int kProbeSize = 100;
constexpr int kDefaultPixelSize = 16;
constexpr std::size_t kRememberedFonts = 16;

QFont::StyleHint HintFor(FontFamily family)
{
    switch (family) {
    case FontFamily::Serif:
        return QFont::Serif;
    case FontFamily::Monospace:
        return QFont::TypeWriter;
    case FontFamily::Cursive:
        return QFont::Cursive;
    case FontFamily::Decorative:
        return QFont::Decorative;
    case FontFamily::SansSerif:
        break;
    }
    return QFont::SansSerif;
}

QString GenericFamilyName(FontFamily family)
{
    switch (family) {
    case FontFamily::Serif:
        return QStringLiteral("serif");
    case FontFamily::Monospace:
        return QStringLiteral("monospace");
    case FontFamily::Cursive:
        return QStringLiteral("cursive");
    case FontFamily::Decorative:
        return QStringLiteral("fantasy");
    case FontFamily::SansSerif:
        break;
    }
    return QStringLiteral("sans-serif");
}

QFont MakeFont(const FontObject &description)
{
    FontFamily family = FontFamilyOf(description.pitchAndFamily);
    QFont font;
    QStringList families;
    if (!description.face.empty())
        families.append(QString::fromStdString(description.face));
    families.append(GenericFamilyName(family));
    font.setFamilies(families);
    font.setStyleHint(HintFor(family));
    font.setFixedPitch(FontFixedPitch(description.pitchAndFamily));
    font.setWeight(static_cast<QFont::Weight>(FontWeight(description.weight)));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);

    int strategy = QFont::PreferDefault;
    if (FontWantsOutline(description.outPrecision))
        strategy |= QFont::PreferOutline;
    switch (FontSmoothingOf(description.quality)) {
    case FontSmoothing::Antialiased:
        strategy |= QFont::PreferAntialias;
        break;
    case FontSmoothing::Aliased:
        strategy |= QFont::NoAntialias;
        break;
    case FontSmoothing::Default:
        break;
    }
    font.setStyleStrategy(static_cast<QFont::StyleStrategy>(strategy));

    QFont probe = font;
    probe.setPixelSize(kProbeSize);
    QFontMetricsF probeMetrics(probe);
    font.setPixelSize(FontPixelSize(description.height, kProbeSize, probeMetrics.ascent() + probeMetrics.descent(),
                                    kDefaultPixelSize));

    if (description.width > 0) {
        double average = QFontMetricsF(font).averageCharWidth();
        if (average > 0)
            font.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * description.width / average)), 1, 4000));
    }
    return font;
}

} // namespace

QFont FontFor(const FontObject &description)
{
    // A window paints the same few fonts again at every paint; finding the
    // face and measuring it is the costly part, so each description is
    // matched once.
    static std::vector<std::pair<FontObject, QFont>> made;
    for (const auto &[key, font] : made) {
        if (key == description)
            return font;
    }
    QFont font = MakeFont(description);
    if (made.size() >= kRememberedFonts)
        made.erase(made.begin());
    made.emplace_back(description, font);
    return font;
}

} // namespace zor::host
