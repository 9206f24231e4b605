// Memory for window images.
#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>

namespace zor::host {

// The size of a large page, in which the kernel can map a whole window image
// at once.
inline constexpr std::size_t kLargePage = std::size_t{2} << 20;

// How much memory an image of `bytes` takes when it is put in large pages:
// `bytes` rounded up to whole large pages, or 0 when the image is too small
// for that to pay (under half a large page would be used).
std::size_t LargePageSpan(std::size_t bytes);

// An image for a window, of the given size and format. A large 32-bit one
// lives in memory of its own, aligned to large pages and advised to the kernel
// as such: the first paint of a maximized window then faults in a few pages
// instead of hundreds, each of them dear on a virtual machine. Small images,
// other formats, and a kernel that declines get ordinary memory. The contents
// are undefined until painted.
QImage MakeWindowImage(QSize size, QImage::Format format);

} // namespace zor::host
