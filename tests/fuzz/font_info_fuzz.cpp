// The font header parser given any bytes, as a damaged or hostile font file would be: it
// accepts or rejects them without reading outside, and what it accepts points inside them.
#include "graphics/font_info.h"
#include "tests/fuzz/fuzz_input.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size < 1) return 0;
  // An exact copy, so that any read past the end meets the sanitizer's redzone.
  const std::vector<std::uint8_t> bytes(data + 1, data + size);
  const int faceIndex = int(data[0] % 4) - 1;
  const kit::ui::FontInfo info = kit::ui::ParseFontInfo(bytes, faceIndex);
  if (info.data)
  {
    kit::fuzz::Require(info.data >= bytes.data() && info.data < bytes.data() + bytes.size(),
                       "an accepted face starts inside the bytes");
    for (const std::uint32_t offset : { info.headOffset, info.nameOffset, info.hheaOffset })
      kit::fuzz::Require(offset < bytes.size(), "table offsets lie inside the bytes");
  }
  if (info.IsComplete()) kit::fuzz::Require(info.problem.empty(), "a complete face has no problem");
  return 0;
}
