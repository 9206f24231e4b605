// Painting through a window's device context into its backing image: wide
// pens, thin pens, text in the right place and colour, erasing with the
// class brush, and the objects selected into a device context.
#include "host_test_support.h"

#include "src/platform/qt/fonts.h"

#include <QFontMetricsF>
#include <QImage>

namespace zor::host::testing {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlue = 0xFF0000FF;

bool IsColour(const QImage &image, int x, int y, QRgb colour)
{
    return image.pixel(x, y) == colour;
}

// Rows that hold at least one pixel for which `match` holds.
std::pair<int, int> RowsWhere(const QImage &image, const std::function<bool(QRgb)> &match)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixel(x, y))) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
        }
    }
    return {top, bottom};
}

class PaintingTest : public HostTest {
  protected:
    // Shows a window whose erasing runs `paint` with a device context of its
    // own, as the backdrop does, and returns its painted image.
    QImage Paint(const std::function<void(HWND, HDC)> &paint)
    {
        HWND hwnd = CreateTestWindow("paint", 320, 240);
        EXPECT_NE(hwnd, nullptr);
        g_windowHook = [paint](HWND h, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message != WM_ERASEBKGND)
                return DefWindowProcA(h, message, wParam, lParam);
            HDC dc = GetDC(h);
            paint(h, dc);
            ReleaseDC(h, dc);
            return 0;
        };
        ShowWindow(hwnd, SW_SHOW);
        EXPECT_TRUE(test::RepaintNow(hwnd));
        hwnd_ = hwnd;
        return test::BackingImage(hwnd);
    }

    HWND hwnd_ = nullptr;
};

TEST_F(PaintingTest, ASixteenPixelBlueBandCoversSixteenRows)
{
    QImage image = Paint([](HWND h, HDC dc) {
        RECT client;
        GetClientRect(h, &client);
        HPEN pen = CreatePen(PS_SOLID, 16, RGB(0, 0, 255));
        HGDIOBJ previous = SelectObject(dc, pen);
        MoveToEx(dc, 0, 40, nullptr);
        LineTo(dc, client.right - client.left, 40);
        SelectObject(dc, previous);
        DeleteObject(pen);
    });
    ASSERT_EQ(image.size(), QSize(320, 240));
    for (int x : {0, 1, 160, 318, 319}) {
        for (int y = 32; y <= 47; ++y)
            EXPECT_TRUE(IsColour(image, x, y, kBlue)) << x << "," << y;
        EXPECT_TRUE(IsColour(image, x, 31, kWhite)) << x;
        EXPECT_TRUE(IsColour(image, x, 48, kWhite)) << x;
    }
    // Sharp edges: GDI lines are not smoothed.
    auto [top, bottom] = RowsWhere(image, [](QRgb p) { return p != kWhite; });
    EXPECT_EQ(top, 32);
    EXPECT_EQ(bottom, 47);
}

TEST_F(PaintingTest, AWidePenHasRoundEnds)
{
    QImage image = Paint([](HWND, HDC dc) {
        HPEN pen = CreatePen(PS_SOLID, 16, RGB(0, 0, 255));
        SelectObject(dc, pen);
        MoveToEx(dc, 100, 100, nullptr);
        LineTo(dc, 200, 100);
        SelectObject(dc, GetStockObject(BLACK_PEN));
        DeleteObject(pen);
    });
    // The end sticks out by half the width on the centre row, but not at the
    // corners of a square.
    EXPECT_TRUE(IsColour(image, 94, 100, kBlue));
    EXPECT_TRUE(IsColour(image, 205, 100, kBlue));
    EXPECT_TRUE(IsColour(image, 93, 93, kWhite));
    EXPECT_TRUE(IsColour(image, 206, 107, kWhite));
    EXPECT_TRUE(IsColour(image, 150, 93, kBlue));
}

TEST_F(PaintingTest, AZeroWidthPenDrawsOnePixelAndTheDefaultPenIsBlack)
{
    QImage image = Paint([](HWND, HDC dc) {
        MoveToEx(dc, 10, 20, nullptr);
        LineTo(dc, 100, 20); // the default pen: black, one pixel
        HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
        SelectObject(dc, pen);
        POINT previous;
        MoveToEx(dc, 10, 60, &previous);
        EXPECT_EQ(previous.x, 100);
        EXPECT_EQ(previous.y, 20);
        LineTo(dc, 100, 60);
        SelectObject(dc, GetStockObject(NULL_PEN));
        MoveToEx(dc, 10, 80, nullptr);
        LineTo(dc, 100, 80); // the null pen draws nothing
        DeleteObject(pen);
    });
    EXPECT_EQ(image.pixel(50, 20), 0xFF000000);
    EXPECT_EQ(image.pixel(50, 60), 0xFFFF0000);
    EXPECT_TRUE(IsColour(image, 50, 19, kWhite));
    EXPECT_TRUE(IsColour(image, 50, 21, kWhite));
    EXPECT_TRUE(IsColour(image, 50, 59, kWhite));
    EXPECT_TRUE(IsColour(image, 50, 61, kWhite));
    EXPECT_TRUE(IsColour(image, 50, 80, kWhite));
}

TEST_F(PaintingTest, TextSitsBelowItsTopInItsColourAndIsSmoothed)
{
    const char text[] = "ZOR by Hg";
    QImage image = Paint([&text](HWND, HDC dc) {
        HFONT font = CreateFontA(36, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_ONLY_PRECIS,
                                 CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH, "Verdana");
        HGDIOBJ previous = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 0, 0));
        EXPECT_TRUE(TextOutA(dc, 20, 100, text, sizeof(text) - 1));
        SelectObject(dc, previous);
        DeleteObject(font);
    });
    auto reddish = [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 200 && qGreen(p) == qBlue(p); };
    auto [top, bottom] = RowsWhere(image, reddish);
    ASSERT_GE(top, 0) << "no text drawn";
    // Within its 36-pixel cell, which starts at y = 100; capitals start near
    // the top of the cell and descenders (g) reach into its lower part.
    EXPECT_GE(top, 100);
    EXPECT_LT(top, 112);
    EXPECT_LT(bottom, 136);
    EXPECT_GT(bottom, 120);
    // Left edge near x = 20 and nothing left of it.
    bool leftOfText = false;
    for (int y = 100; y < 136; ++y)
        for (int x = 0; x < 19; ++x)
            leftOfText = leftOfText || image.pixel(x, y) != kWhite;
    EXPECT_FALSE(leftOfText);
    // Pure red strokes and smoothed (blended) edges, on a transparent
    // background.
    bool pure = false, blended = false;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            pure = pure || p == 0xFFFF0000;
            blended = blended || (qRed(p) == 255 && qGreen(p) > 20 && qGreen(p) < 235 && qGreen(p) == qBlue(p));
        }
    }
    EXPECT_TRUE(pure);
    EXPECT_TRUE(blended);
}

TEST_F(PaintingTest, OpaqueTextFillsItsCellWithTheBackgroundColour)
{
    QImage image = Paint([](HWND, HDC dc) {
        HFONT font = CreateFontA(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH, nullptr);
        SelectObject(dc, font);
        SetBkColor(dc, RGB(0, 255, 0));
        EXPECT_EQ(SetBkMode(dc, OPAQUE), OPAQUE);
        TextOutA(dc, 10, 10, "ii", 2);
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        DeleteObject(font);
    });
    auto green = [](QRgb p) { return p == 0xFF00FF00; };
    auto [top, bottom] = RowsWhere(image, green);
    EXPECT_EQ(top, 10);
    EXPECT_GT(bottom, 25);
    // Unsmoothed: only white, green and the black of the text.
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            QRgb p = image.pixel(x, y);
            EXPECT_TRUE(p == kWhite || p == 0xFF00FF00 || p == 0xFF000000) << x << "," << y;
        }
}

TEST_F(PaintingTest, FontHeights)
{
    // A positive height is the cell height, a negative one the character
    // height; a missing face falls back to a sans-serif one.
    FontObject cell;
    cell.height = 36;
    cell.face = "Verdana";
    QFontMetricsF cellMetrics(FontFor(cell));
    EXPECT_NEAR(cellMetrics.ascent() + cellMetrics.descent(), 36.0, 1.5);

    FontObject character;
    character.height = -36;
    character.face = "No Such Face Anywhere";
    QFont font = FontFor(character);
    EXPECT_EQ(font.pixelSize(), 36);
    EXPECT_FALSE(QFontInfo(font).family().isEmpty());

    FontObject bold;
    bold.height = 20;
    bold.weight = FW_BOLD;
    bold.italic = true;
    bold.quality = PROOF_QUALITY;
    QFont boldFont = FontFor(bold);
    EXPECT_EQ(boldFont.weight(), QFont::Bold);
    EXPECT_TRUE(boldFont.italic());
    EXPECT_TRUE(boldFont.styleStrategy() & QFont::PreferAntialias);
}

TEST_F(PaintingTest, DefaultErasingUsesTheClassBrush)
{
    RegisterTestClass(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HWND hwnd =
        CreateWindowExA(0, kTestClass, "black", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    ASSERT_TRUE(test::RepaintNow(hwnd));
    QImage image = test::BackingImage(hwnd);
    EXPECT_EQ(image.pixel(0, 0), 0xFF000000);
    EXPECT_EQ(image.pixel(99, 79), 0xFF000000);
    ASSERT_EQ(DeliveredOf(WM_ERASEBKGND).size(), 1u);
    EXPECT_EQ(DeliveredOf(WM_PAINT).size(), 1u);
    EXPECT_NE(DeliveredOf(WM_ERASEBKGND).front().wParam, 0u); // a device context comes with it
}

TEST_F(PaintingTest, APaintErasesWhenShownOrResizedNotWhenDrawnInto)
{
    HWND hwnd = CreateTestWindow("count", 200, 100);
    ShowWindow(hwnd, SW_SHOW);
    ASSERT_TRUE(PumpUntil([] { return !DeliveredOf(WM_ERASEBKGND).empty(); }, 2000));
    g_delivered.clear();

    // Drawing through GetDC shows without another erase.
    HDC dc = GetDC(hwnd);
    HPEN pen = CreatePen(PS_SOLID, 4, RGB(0, 0, 255));
    SelectObject(dc, pen);
    MoveToEx(dc, 0, 50, nullptr);
    LineTo(dc, 200, 50);
    ReleaseDC(hwnd, dc);
    DeleteObject(pen);
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(DeliveredOf(WM_ERASEBKGND).empty());
    EXPECT_TRUE(IsColour(test::BackingImage(hwnd), 100, 50, kBlue));

    // A resize of a CS_HREDRAW | CS_VREDRAW window repaints it all.
    test::WidgetOf(hwnd)->resize(150, 80);
    ASSERT_TRUE(PumpUntil([] { return !DeliveredOf(WM_ERASEBKGND).empty(); }, 2000));
    EXPECT_EQ(test::BackingImage(hwnd).size(), QSize(150, 80));
    EXPECT_TRUE(IsColour(test::BackingImage(hwnd), 100, 50, kWhite)); // erased by the class brush
}

TEST_F(PaintingTest, ObjectsAndDeviceContexts)
{
    HWND hwnd = CreateTestWindow();
    HDC dc = GetDC(hwnd);
    ASSERT_NE(dc, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
    HFONT font = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana");
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, font), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_PEN)), pen);
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_EQ(SetTextColor(dc, RGB(255, 255, 255)), RGB(0, 0, 0));
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, 7), 0);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(font)); // deleted while selected: the stock font stands in
    EXPECT_TRUE(TextOutA(dc, 0, 0, "x", 1));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))); // harmless
    EXPECT_NE(GetStockObject(WHITE_BRUSH), nullptr);
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
    EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
    EXPECT_FALSE(LineTo(dc, 1, 1)); // released
    EXPECT_EQ(GetDC(nullptr), nullptr);
}

} // namespace
} // namespace zor::host::testing
