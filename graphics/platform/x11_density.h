// The display density an X11 editor draws at: whole device pixels per logical unit, from the
// Xft.dpi entry of the server's resource text (the root window's RESOURCE_MANAGER property).
// Plain functions; the reading one runs on the thread that owns the connection.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <string_view>

namespace kit::ui
{

// The value of the last "Xft.dpi" entry of resource text ("name:\tvalue" lines); empty when
// there is none or its value is not a number.
[[nodiscard]] std::optional<double> XftDpiFromResources(std::string_view resources);

// round(dpi / 96), halves away from zero; 1 when that is below 1 or not finite, so a server
// that claims too few dots per inch never gives a zero scale. At most 8.
[[nodiscard]] float DensityFromDpi(double dpi) noexcept;

// The density the resource text gives; 1 without an Xft.dpi entry.
[[nodiscard]] float DensityFromResources(std::string_view resources);

// The root window's RESOURCE_MANAGER text as the server holds it now (the copy Xlib keeps from
// opening is not refreshed); empty when there is none.
[[nodiscard]] std::string ReadResourceText(Display* display, Atom resourceManager);

} // namespace kit::ui
