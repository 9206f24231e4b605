#include "image_memory.h"

#include <cstdint>

#include <sys/mman.h>

namespace zor::host {
namespace {

struct Mapping {
    void *base;
    std::size_t length;
};

void Unmap(void *info)
{
    auto *mapping = static_cast<Mapping *>(info);
    munmap(mapping->base, mapping->length);
    delete mapping;
}

// Maps `length` bytes (a multiple of kLargePage) at an address aligned to
// kLargePage: maps one large page more than asked and gives back the
// unaligned head and the rest of the tail.
void *MapAligned(std::size_t length)
{
    void *raw = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    auto start = reinterpret_cast<std::uintptr_t>(raw);
    std::uintptr_t aligned = (start + kLargePage - 1) & ~(std::uintptr_t{kLargePage} - 1);
    std::size_t head = aligned - start;
    std::size_t tail = kLargePage - head;
    if (head != 0)
        munmap(raw, head);
    if (tail != 0)
        munmap(reinterpret_cast<void *>(aligned + length), tail);
    return reinterpret_cast<void *>(aligned);
}

} // namespace

std::size_t LargePageSpan(std::size_t bytes)
{
    if (bytes < kLargePage / 2)
        return 0;
    std::size_t pages = bytes / kLargePage + (bytes % kLargePage != 0 ? 1 : 0);
    return pages * kLargePage;
}

QImage MakeWindowImage(QSize size, QImage::Format format)
{
    if (size.isEmpty() || QImage::toPixelFormat(format).bitsPerPixel() != 32)
        return QImage(size, format);
    // Four bytes a pixel, so every row starts aligned as QImage wants.
    auto bytesPerLine = static_cast<std::size_t>(size.width()) * 4;
    std::size_t span = LargePageSpan(bytesPerLine * static_cast<std::size_t>(size.height()));
    void *base = span == 0 ? nullptr : MapAligned(span);
    if (base == nullptr)
        return QImage(size, format);
    // Advice only: without large pages the mapping works as any other.
    madvise(base, span, MADV_HUGEPAGE);
    auto *mapping = new Mapping{base, span};
    QImage image(static_cast<uchar *>(base), size.width(), size.height(), static_cast<qsizetype>(bytesPerLine), format,
                 Unmap, mapping);
    if (image.isNull()) {
        Unmap(mapping);
        return QImage(size, format);
    }
    return image;
}

} // namespace zor::host
