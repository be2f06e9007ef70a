// The editor's pictures: the two-look background, the knob pointer and the graph-lamp cover,
// each at one and two pixels per point. Drawn by the ombrix-artwork program at build time;
// single-threaded, no state between calls.
#pragma once

#include <filesystem>
#include <string>

namespace kit::artwork
{

// The Roboto Regular file found when the build was configured.
[[nodiscard]] std::filesystem::path BuildFontPath();

// Writes bg.png, knob_line.png, display_button.png and their @2x variants into an existing
// folder. Each file is written under a temporary name and renamed, so a failure leaves no
// partial picture. False with a one-line reason when the font cannot be loaded or a picture
// cannot be drawn or written.
[[nodiscard]] bool WriteArtwork(const std::filesystem::path& folder, const std::filesystem::path& fontPath,
                                std::string& error);

} // namespace kit::artwork
