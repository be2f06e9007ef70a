#include "graphics/platform/x11_density.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kit::ui
{
namespace
{

constexpr double kReferenceDpi = 96.0;
// The drawing context takes no more pixels per unit than this.
constexpr double kMaxDensity = 8.0;
// The property is read in one piece up to this many 32-bit units (4 MB of text).
constexpr long kMaxResourceUnits = 1L << 20;

bool IsBlank(char c) noexcept
{
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) noexcept
{
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The value of the line when it names Xft.dpi, else nothing.
std::optional<std::string_view> XftDpiValue(std::string_view line) noexcept
{
  constexpr std::string_view kName = "Xft.dpi";
  line = TrimBlanks(line);
  if (!line.starts_with(kName)) return std::nullopt;
  line.remove_prefix(kName.size());
  line = TrimBlanks(line);
  if (line.empty() || line.front() != ':') return std::nullopt;
  line.remove_prefix(1);
  return TrimBlanks(line);
}

} // namespace

std::optional<double> XftDpiFromResources(std::string_view resources)
{
  // A later entry replaces an earlier one, as in a resource database.
  std::optional<std::string_view> found;
  while (!resources.empty())
  {
    const std::size_t end = resources.find('\n');
    const std::string_view line = resources.substr(0, end);
    if (const auto value = XftDpiValue(line)) found = value;
    if (end == std::string_view::npos) break;
    resources.remove_prefix(end + 1);
  }
  if (!found || found->empty()) return std::nullopt;
  double dpi = 0.0;
  const char* first = found->data();
  const char* last = first + found->size();
  const auto [stop, error] = std::from_chars(first, last, dpi);
  if (error != std::errc {} || stop != last) return std::nullopt;
  return dpi;
}

float DensityFromDpi(double dpi) noexcept
{
  const double density = std::round(dpi / kReferenceDpi);
  if (!std::isfinite(density) || density < 1.0) return 1.0f;
  return float(std::min(density, kMaxDensity));
}

float DensityFromResources(std::string_view resources)
{
  const std::optional<double> dpi = XftDpiFromResources(resources);
  return dpi ? DensityFromDpi(*dpi) : 1.0f;
}

std::string ReadResourceText(Display* display, Atom resourceManager)
{
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), resourceManager, 0, kMaxResourceUnits,
                                        False, XA_STRING, &type, &format, &count, &remaining, &data);
  std::string text;
  if (status == Success && data != nullptr && type == XA_STRING && format == 8)
    text.assign(reinterpret_cast<const char*>(data), count);
  if (data != nullptr) XFree(data);
  return text;
}

} // namespace kit::ui
