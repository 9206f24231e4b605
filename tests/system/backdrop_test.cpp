// The backdrop window: closing it, and what it paints.

#include "system_fixture.h"

#include "src/platform/qt/test_access.h"

#include <QImage>
#include <QWidget>

#include <algorithm>
#include <set>

namespace zor::system_test {
namespace {

TEST_F(SystemTest, CloseRequestOnTheBackdropAsksTheCancelQuestion)
{
    HWND backdrop = CreateBackdrop();
    ASSERT_NE(backdrop, nullptr);
    QWidget *window = host::test::WidgetOf(backdrop);
    ASSERT_NE(window, nullptr);
    const Box question{kCancelQuestion, SETUP_TITLE, 0x34};

    script_.messageBoxAnswers = {IDNO};
    window->close();
    EXPECT_EQ(Settle(), std::nullopt);
    ASSERT_EQ(BoxesOf(script_), std::vector<Box>{question});
    EXPECT_EQ(script_.messageBoxes[0].owner, g_hSetupDlg);
    EXPECT_TRUE(IsWindowVisible(backdrop));
    EXPECT_TRUE(DialogVisible());
    EXPECT_EQ(FolderText(), DEFAULT_INSTALL_DIR);

    script_.messageBoxAnswers = {IDYES};
    window->close();
    EXPECT_EQ(Settle(), 0);
    EXPECT_EQ(BoxesOf(script_), (std::vector<Box>{question, question}));
    EXPECT_FALSE(DialogVisible());
    EXPECT_EQ(e2e::ListFiles(DriveC()), "");
}

TEST_F(SystemTest, CloseRequestWithoutADialogEndsSetupAtOnce)
{
    HWND backdrop = CreateBackdrop();
    ASSERT_NE(backdrop, nullptr);
    g_hSetupDlg = nullptr;

    EXPECT_EQ(SendMessageA(backdrop, WM_CLOSE, 0, 0), 0);

    EXPECT_TRUE(script_.messageBoxes.empty());
    EXPECT_EQ(Settle(), 0);
}

// Painting: 16-pixel bands of blue over one caption more than the client
// area, then the white credit line over its black shadow.
struct PaintCase {
    const char *name;
    int clientHeight;
    int captionHeight;
    std::vector<int> bandBlues; // the visible bands, top to bottom
};

void PrintTo(const PaintCase &c, std::ostream *out) { *out << c.name; }

class BackdropPaintTest : public SystemTest, public ::testing::WithParamInterface<PaintCase> {
  protected:
    static constexpr int kWidth = 1600;

    QImage PaintedBackdrop(int width, int clientHeight, int captionHeight)
    {
        script_.captionHeight = captionHeight;
        HWND backdrop = CreateBackdrop(WS_POPUP, width, clientHeight, SW_SHOW);
        if (backdrop == nullptr) {
            ADD_FAILURE() << "no backdrop";
            return {};
        }
        RECT client{};
        GetClientRect(backdrop, &client);
        EXPECT_EQ(client.bottom - client.top, clientHeight);
        EXPECT_EQ(client.right - client.left, width);
        // Shown and exposed first; then painted as on first showing.
        Settle();
        EXPECT_TRUE(host::test::RepaintNow(backdrop));
        return host::test::BackingImage(backdrop).convertToFormat(QImage::Format_RGB32);
    }
};

// Blues from 255 - 255 * y / H for y = 0, 16, ... below the client bottom.
std::vector<int> Blues(int visibleBands, int gradientHeight)
{
    std::vector<int> blues;
    for (int band = 0; band < visibleBands; band++)
        blues.push_back(255 - 255 * (band * 16) / gradientHeight);
    return blues;
}

TEST_P(BackdropPaintTest, BandsDarkenDownTheWindow)
{
    const PaintCase &c = GetParam();
    QImage image = PaintedBackdrop(kWidth, c.clientHeight, c.captionHeight);
    ASSERT_EQ(image.height(), c.clientHeight);
    ASSERT_EQ(image.width(), kWidth);

    // Down the right edge, far from the credit line: runs of pure blue, one
    // per band, each band's colour at its centre row.
    std::vector<int> runs;
    for (int y = 0; y < image.height(); y++) {
        QRgb pixel = image.pixel(kWidth - 1, y);
        ASSERT_EQ(qRed(pixel), 0) << "row " << y;
        ASSERT_EQ(qGreen(pixel), 0) << "row " << y;
        if (runs.empty() || runs.back() != qBlue(pixel))
            runs.push_back(qBlue(pixel));
    }
    EXPECT_EQ(runs, c.bandBlues);
    for (std::size_t band = 0; band < c.bandBlues.size(); band++) {
        // The centre row, or the last row for a band cut off below it.
        int y = std::min(static_cast<int>(band) * 16, image.height() - 1);
        EXPECT_EQ(image.pixel(kWidth - 1, y), qRgb(0, 0, c.bandBlues[band])) << "band " << band;
        EXPECT_EQ(image.pixel(kWidth / 2 + 101, y), qRgb(0, 0, c.bandBlues[band])) << "band " << band;
    }
}

INSTANTIATE_TEST_SUITE_P(Heights, BackdropPaintTest,
                         ::testing::Values(
                             // H = 600: 38 bands at y = 0 ... 592; the last (blue 4) lies below
                             // the 581 rows and is clipped.
                             PaintCase{"Client581Caption19", 581, 19, Blues(37, 600)},
                             // H = 600 again, and the last band's top half shows: blue 4.
                             PaintCase{"Client590Caption10", 590, 10, Blues(38, 600)},
                             PaintCase{"Client100Caption19", 100, 19, Blues(7, 119)}),
                         [](const ::testing::TestParamInfo<PaintCase> &info) { return std::string(info.param.name); });

TEST(BandTable, MatchesTheKnownBlues)
{
    std::vector<int> blues = Blues(38, 600);
    EXPECT_EQ(blues.front(), 255);
    EXPECT_EQ(blues[1], 249);
    EXPECT_EQ(blues[2], 242);
    EXPECT_EQ(blues[36], 11);
    EXPECT_EQ(blues.back(), 4);
}

bool White(QRgb p)
{
    return qRed(p) >= 250 && qGreen(p) >= 250 && qBlue(p) >= 250;
}
bool Black(QRgb p)
{
    return qRed(p) <= 5 && qGreen(p) <= 5 && qBlue(p) <= 5;
}

// The positions of the credit line's white and black pixels in a region.
std::set<std::pair<int, int>> BannerPixels(const QImage &image, int width, int height, bool (*test)(QRgb))
{
    std::set<std::pair<int, int>> found;
    for (int y = 0; y < std::min(height, image.height()); y++) {
        for (int x = 0; x < std::min(width, image.width()); x++) {
            if (test(image.pixel(x, y)))
                found.insert({x, y});
        }
    }
    return found;
}

TEST_F(BackdropPaintTest, CreditLineIsWhiteOverABlackShadowAtTheTopLeft)
{
    QImage image = PaintedBackdrop(kWidth, 581, 19);
    ASSERT_FALSE(image.isNull());

    // The white text starts at (17,17), its shadow 3 pixels lower right.
    auto near = [&](int x0, int y0, bool (*test)(QRgb)) {
        for (int y = y0; y < y0 + 40; y++) {
            for (int x = x0; x < x0 + 40; x++) {
                if (test(image.pixel(x, y)))
                    return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(near(17, 17, White));
    EXPECT_TRUE(near(20, 20, Black));
    // Nothing of it above or left of where it starts.
    for (int y = 0; y < 17; y++) {
        for (int x = 0; x < 200; x++)
            ASSERT_FALSE(White(image.pixel(x, y))) << x << "," << y;
    }
    for (int y = 0; y < 20; y++) {
        for (int x = 0; x < 200; x++)
            ASSERT_FALSE(Black(image.pixel(x, y))) << x << "," << y;
    }
    // One line only: below the first 70 rows there is no text.
    EXPECT_TRUE(BannerPixels(image.copy(0, 80, kWidth, 200), kWidth, 200, White).empty());
    EXPECT_GT(BannerPixels(image, kWidth, 80, White).size(), 300u);
    EXPECT_GT(BannerPixels(image, kWidth, 80, Black).size(), 100u);
}

TEST_F(BackdropPaintTest, NarrowWindowCutsTheCreditLineOffWithoutMovingIt)
{
    const std::set<std::pair<int, int>> wideWhite = BannerPixels(PaintedBackdrop(kWidth, 581, 19), 150, 80, White);
    host::test::DestroyAllWindows();
    g_hSetupDlg = nullptr;
    QImage narrow = PaintedBackdrop(150, 100, 19);
    ASSERT_EQ(narrow.width(), 150);
    EXPECT_FALSE(wideWhite.empty());
    EXPECT_EQ(BannerPixels(narrow, 150, 80, White), wideWhite);
}

} // namespace
} // namespace zor::system_test
