#pragma once
// Helpers for the editor's pixel tests: where pictures are left to look at after the run, and a
// black background under the controls so that light drawing shows in those pictures.

#include "graphics/cairo_test_support.h"
#include "graphics/draw_context.h"

#include <filesystem>
#include <memory>
#include <string>

namespace kit::ui::test
{

inline std::filesystem::path ArtifactPath(const std::string& name)
{
  std::filesystem::create_directories(OMBRIX_TEST_ARTIFACTS);
  return std::filesystem::path(OMBRIX_TEST_ARTIFACTS) / name;
}

// Add before the controls under test: it is painted first in every region.
inline void AddBlackBackground(IDrawContext& editor)
{
  const IBounds everything(0.0f, 0.0f, float(editor.Width()), float(editor.Height()));
  auto background = std::make_unique<kit::test::PaintingControl>(
      everything, [everything](IDrawContext& drawing) { drawing.PaintRect(IRgba(255, 0, 0, 0), everything); });
  static_cast<void>(editor.AddControl(std::move(background)));
}

} // namespace kit::ui::test
