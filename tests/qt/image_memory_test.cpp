// Window images: large ones in memory of their own, small ones and other
// formats as QImage makes them; every one holds what is painted into it for
// as long as any copy of it lives.
#include "src/platform/qt/image_memory.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cerrno>
#include <cstdint>

#include <sys/mman.h>

namespace zor::host {
namespace {

TEST(ImageMemory, LargePageSpanRoundsUpLargeImagesOnly)
{
    struct Case {
        std::size_t bytes;
        std::size_t span;
    } cases[] = {
        {0, 0},
        {100 * 100 * 4, 0},
        {kLargePage / 2 - 1, 0},
        {kLargePage / 2, kLargePage},
        {800 * 600 * 4, kLargePage},
        {kLargePage, kLargePage},
        {kLargePage + 1, 2 * kLargePage},
        {1920 * 1080 * 4, 4 * kLargePage},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LargePageSpan(c.bytes), c.span) << c.bytes << " bytes";
}

// Fills the image with one colour, marks each corner with another and checks
// every pixel read back.
void ExpectPaintable(QImage &image)
{
    image.fill(QColor(0, 0, 200));
    QPainter painter(&image);
    painter.setPen(QColor(255, 255, 255));
    int right = image.width() - 1, bottom = image.height() - 1;
    painter.drawPoint(0, 0);
    painter.drawPoint(right, bottom);
    painter.end();
    for (int y = 0; y <= bottom; ++y) {
        for (int x = 0; x <= right; ++x) {
            bool corner = (x == 0 && y == 0) || (x == right && y == bottom);
            QRgb want = corner ? qRgb(255, 255, 255) : qRgb(0, 0, 200);
            if ((image.pixel(x, y) | 0xFF000000) != want) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << image.pixel(x, y);
                return;
            }
        }
    }
}

TEST(ImageMemory, ImagesOfEverySizeAndFormatArePaintable)
{
    struct Case {
        QSize size;
        QImage::Format format;
    } cases[] = {
        {{1, 1}, QImage::Format_RGB32},       {{200, 100}, QImage::Format_RGB32},
        {{800, 600}, QImage::Format_RGB32},   {{1023, 777}, QImage::Format_ARGB32_Premultiplied},
        {{1920, 1080}, QImage::Format_RGB32}, {{800, 600}, QImage::Format_RGB888},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.size.width() << "x" << c.size.height() << " format " << c.format);
        QImage image = MakeWindowImage(c.size, c.format);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), c.size);
        EXPECT_EQ(image.format(), c.format);
        EXPECT_GE(image.bytesPerLine(), c.size.width() * image.depth() / 8);
        ExpectPaintable(image);
    }
}

TEST(ImageMemory, AMaximizedWindowImageStartsOnALargePage)
{
    QImage image = MakeWindowImage(QSize(800, 600), QImage::Format_RGB32);
    auto address = reinterpret_cast<std::uintptr_t>(image.constBits());
    EXPECT_EQ(address % kLargePage, 0u);
    EXPECT_EQ(image.bytesPerLine(), 800 * 4);
}

TEST(ImageMemory, ACopyKeepsThePixelsAfterTheOriginalIsGone)
{
    QImage copy;
    {
        QImage original = MakeWindowImage(QSize(800, 600), QImage::Format_RGB32);
        original.fill(QColor(0, 0, 4));
        copy = original;
    }
    EXPECT_EQ(copy.pixel(0, 0), qRgb(0, 0, 4));
    EXPECT_EQ(copy.pixel(799, 599), qRgb(0, 0, 4));

    // Painting a shared image leaves the other copy as it was.
    QImage second = copy;
    second.fill(QColor(255, 0, 0));
    EXPECT_EQ(copy.pixel(400, 300), qRgb(0, 0, 4));
    EXPECT_EQ(second.pixel(400, 300), qRgb(255, 0, 0));
}

TEST(ImageMemory, TheMemoryIsGivenBackWithTheLastCopy)
{
    const void *bits = nullptr;
    {
        QImage image = MakeWindowImage(QSize(800, 600), QImage::Format_RGB32);
        QImage copy = image;
        bits = image.constBits();
        image = QImage();
        // Still mapped: a copy uses it.
        EXPECT_EQ(msync(const_cast<void *>(bits), kLargePage, MS_ASYNC), 0);
    }
    // msync fails with ENOMEM on an address range that is not mapped.
    errno = 0;
    EXPECT_EQ(msync(const_cast<void *>(bits), kLargePage, MS_ASYNC), -1);
    EXPECT_EQ(errno, ENOMEM);
}

TEST(ImageMemory, AnEmptySizeGivesAnEmptyImage)
{
    EXPECT_TRUE(MakeWindowImage(QSize(0, 600), QImage::Format_RGB32).isNull());
    EXPECT_TRUE(MakeWindowImage(QSize(800, 0), QImage::Format_RGB32).isNull());
}

} // namespace
} // namespace zor::host
