// The Ombrix editor: how its drawing context is made and what its layout attaches, in drawing
// order. Main thread, like every editor operation.
#pragma once

#include <string_view>

namespace kit::ui
{

class IDrawContext;

// Addresses of the controls the plug-in's analysis feeds.
inline constexpr int kSignalGraphTag = 1;
inline constexpr int kNoiseGraphTag = 2;
inline constexpr int kMeterTag = 3;

inline constexpr int kOmbrixEditorFps = 60;

// The zoom a new editor opens at: the one saved in the user's preference file, limited to
// 0.5 … 4; 1 without one.
[[nodiscard]] float SavedOmbrixZoom();

// Loads the font and the three pictures and attaches the twelve controls. versionText is
// the plug-in's version as shown under the knobs.
void LayoutOmbrixEditor(IDrawContext& graphics, std::string_view versionText);

// The graphs and the meter appear and disappear together; nothing when they are not there.
void ShowOmbrixAnalysis(IDrawContext& graphics, bool show);

// Writes the editor's zoom to the user's preference file, silently.
void SaveOmbrixZoom(const IDrawContext& graphics);

} // namespace kit::ui
