// GDI32: device contexts, the objects selected into them, lines and text.

#include "device_context.h"

#include "fonts.h"
#include "host_state.h"
#include "host_widgets.h"
#include "mapping/gdi_mapping.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace zor::host {
namespace {

QColor Colour(COLORREF colour)
{
    Rgb rgb = RgbOf(colour);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

template <typename T> T Selected(HGDIOBJ handle, int stockIndex)
{
    const GdiTable &objects = State().gdi;
    if (const GdiObject *object = objects.Find(handle)) {
        if (const T *found = std::get_if<T>(object))
            return *found;
    }
    // Deleted while selected: the stock default stands in.
    return std::get<T>(*objects.Find(objects.Stock(stockIndex)));
}

Qt::PenStyle PenStyleOf(int style)
{
    switch (style) {
    case PS_DASH:
        return Qt::DashLine;
    case PS_DOT:
        return Qt::DotLine;
    case PS_DASHDOT:
        return Qt::DashDotLine;
    case PS_DASHDOTDOT:
        return Qt::DashDotDotLine;
    case PS_NULL:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

} // namespace

QImage *BackingImageOf(HWND window)
{
    auto *widget = dynamic_cast<TopLevelWidget *>(WidgetOfWindow(window));
    return widget == nullptr ? nullptr : &widget->Backing();
}

bool FillRectangle(HDC dc, const RECT &rect, COLORREF colour)
{
    DeviceContextState *state = State().deviceContexts.Find(dc);
    QImage *image = state == nullptr ? nullptr : BackingImageOf(state->window);
    if (image == nullptr)
        return false;
    QPainter painter(image);
    painter.fillRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top), Colour(colour));
    return true;
}

} // namespace zor::host

using namespace zor::host;

extern "C" HDC WINAPI GetDC(HWND hWnd)
{
    // Only top-level windows have an image to paint into (made when first
    // drawn in).
    if (dynamic_cast<TopLevelWidget *>(WidgetOfWindow(hWnd)) == nullptr)
        return nullptr;
    return State().deviceContexts.Open(hWnd, State().gdi);
}

extern "C" int WINAPI ReleaseDC(HWND hWnd, HDC hDC)
{
    HostState &state = State();
    DeviceContextState *dc = state.deviceContexts.Find(hDC);
    if (dc == nullptr || dc->window != hWnd)
        return 0;
    state.deviceContexts.Close(hDC);
    // What was drawn shows at the next paint; a paint in progress shows it
    // anyway.
    if (state.painting != hWnd) {
        if (QWidget *widget = WidgetOfWindow(hWnd))
            widget->update();
    }
    return 1;
}

extern "C" HGDIOBJ WINAPI GetStockObject(int i)
{
    return State().gdi.Stock(i);
}

extern "C" HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color)
{
    if (iStyle < PS_SOLID || iStyle > PS_INSIDEFRAME)
        return nullptr;
    return static_cast<HPEN>(State().gdi.Add(PenObject{iStyle, cWidth, color}));
}

extern "C" HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                                    DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                                    DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                                    LPCSTR pszFaceName)
{
    FontObject font;
    font.height = cHeight;
    font.width = cWidth;
    font.escapement = cEscapement;
    font.orientation = cOrientation;
    font.weight = cWeight;
    font.italic = bItalic != 0;
    font.underline = bUnderline != 0;
    font.strikeOut = bStrikeOut != 0;
    font.charSet = iCharSet;
    font.outPrecision = iOutPrecision;
    font.clipPrecision = iClipPrecision;
    font.quality = iQuality;
    font.pitchAndFamily = iPitchAndFamily;
    font.face = pszFaceName == nullptr ? std::string() : std::string(pszFaceName);
    return static_cast<HFONT>(State().gdi.Add(std::move(font)));
}

extern "C" HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    HostState &state = State();
    DeviceContextState *dc = state.deviceContexts.Find(hdc);
    if (dc == nullptr)
        return nullptr;
    return SelectInto(*dc, state.gdi, h);
}

extern "C" BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    return State().gdi.Delete(ho) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    DeviceContextState *dc = State().deviceContexts.Find(hdc);
    if (dc == nullptr)
        return FALSE;
    if (lppt != nullptr)
        *lppt = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}

extern "C" BOOL WINAPI LineTo(HDC hdc, int x, int y)
{
    DeviceContextState *dc = State().deviceContexts.Find(hdc);
    QImage *image = dc == nullptr ? nullptr : BackingImageOf(dc->window);
    if (image == nullptr)
        return FALSE;
    PenObject pen = Selected<PenObject>(dc->pen, BLACK_PEN);
    if (pen.style != PS_NULL) {
        // GDI draws lines without smoothing; a pen wider than one pixel is
        // geometric, with round ends and joins.
        QPen qpen(Colour(pen.color), PenPixelWidth(pen.width), PenStyleOf(pen.style),
                  PenHasRoundEnds(pen.width) ? Qt::RoundCap : Qt::FlatCap,
                  PenHasRoundEnds(pen.width) ? Qt::RoundJoin : Qt::MiterJoin);
        QPainter painter(image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(qpen);
        painter.drawLine(QPoint(dc->position.x, dc->position.y), QPoint(x, y));
    }
    dc->position = POINT{x, y};
    return TRUE;
}

extern "C" int WINAPI SetBkMode(HDC hdc, int mode)
{
    DeviceContextState *dc = State().deviceContexts.Find(hdc);
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    int previous = dc->backgroundMode;
    dc->backgroundMode = mode;
    return previous;
}

extern "C" COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color)
{
    DeviceContextState *dc = State().deviceContexts.Find(hdc);
    if (dc == nullptr)
        return 0xFFFFFFFF; // CLR_INVALID
    COLORREF previous = dc->backgroundColor;
    dc->backgroundColor = color & 0x00FFFFFF;
    return previous;
}

extern "C" COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color)
{
    DeviceContextState *dc = State().deviceContexts.Find(hdc);
    if (dc == nullptr)
        return 0xFFFFFFFF; // CLR_INVALID
    COLORREF previous = dc->textColor;
    dc->textColor = color & 0x00FFFFFF;
    return previous;
}

extern "C" BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    DeviceContextState *dc = State().deviceContexts.Find(hdc);
    QImage *image = dc == nullptr ? nullptr : BackingImageOf(dc->window);
    if (image == nullptr || c < 0 || (lpString == nullptr && c > 0))
        return FALSE;
    if (c == 0)
        return TRUE;
    FontObject description = Selected<FontObject>(dc->font, SYSTEM_FONT);
    QFont font = FontFor(description);
    QString text = QString::fromUtf8(lpString, c);

    QPainter painter(image);
    painter.setRenderHint(QPainter::TextAntialiasing, FontSmoothingOf(description.quality) != FontSmoothing::Aliased);
    painter.setFont(font);
    QFontMetrics metrics = painter.fontMetrics();
    // The reference point is the top-left corner of the text's cell; an
    // escapement turns the text about it, counter-clockwise in tenths of a
    // degree.
    painter.translate(x, y);
    if (description.escapement != 0)
        painter.rotate(-description.escapement / 10.0);
    if (dc->backgroundMode == OPAQUE)
        painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()), Colour(dc->backgroundColor));
    painter.setPen(Colour(dc->textColor));
    painter.drawText(QPoint(0, BaselineForTop(0, metrics.ascent())), text);
    return TRUE;
}
