// How large a picture the backend agrees to decode: a few bytes of header can claim any size,
// and the pixels for it are allocated before the data shows whether it is there.
#pragma once

#include <cstdint>

namespace kit::ui
{

// At most 2^26 pixels (256 MB decoded).
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t(1) << 26;
// The largest side Cairo's image surfaces take.
inline constexpr std::uint64_t kMaxPictureSide = 32767;

// Whether a picture of width × height pixels, as its header claims, may be decoded.
[[nodiscard]] constexpr bool PictureSizeAcceptable(std::uint64_t width, std::uint64_t height) noexcept
{
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

} // namespace kit::ui
