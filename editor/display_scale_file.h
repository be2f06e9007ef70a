// The editor's zoom kept between sessions: one line in a small text file in the user's
// configuration folder, read when the editor is created and written when it closes. Main
// (editor) thread. Every failure is silent: the result says only whether a zoom was read or
// written, and a file that cannot be used means no zoom was saved.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kit::ui
{

// $XDG_CONFIG_HOME (else $HOME/.config)/Felgard/Preferences/<name>-display-scale.txt, with the
// characters that file names on some systems cannot hold replaced by '_'. Empty when there is
// no configuration folder or no name.
[[nodiscard]] std::filesystem::path SavedScalePath(std::string_view productName);

// True with the scale when the file is a regular file whose first line holds a finite number
// greater than 0 and nothing else but white space.
[[nodiscard]] bool ReadSavedScale(std::string_view productName, float& scale);

// Replaces the file with the scale as "%.4f\n" (decimal point), creating folders as needed;
// false, leaving any earlier file as it was, when scale is not finite and above 0 or the file
// cannot be written.
[[nodiscard]] bool WriteSavedScale(std::string_view productName, float scale);

// The number on one line: white space around it allowed, anything else rejected; only finite
// values above 0. The same in every locale.
[[nodiscard]] std::optional<float> ParseSavedScale(std::string_view line);

} // namespace kit::ui
