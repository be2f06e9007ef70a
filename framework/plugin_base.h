// The plug-in's persistent state: its parameter values as consecutive little-endian doubles,
// written to and read from a state chunk, and the preset slots filled from them. Main thread.
#pragma once

#include "binding/draw_editor_delegate.h"
#include "framework/fixed_text.h"
#include "framework/state_chunk.h"

#include <vector>

namespace kit
{

struct Preset
{
  bool initialised = false;
  FixedText<256> name;
  StateChunk chunk;
};

class IPluginBase : public IDrawEditorDelegate
{
public:
  IPluginBase(int paramCount, int presetCount);

  // Virtual operations, in their fixed order after the delegate's.

  // The state the host stores; false when the chunk cannot grow.
  [[nodiscard]] virtual bool WriteStateChunk(StateChunk& chunk);
  // Restores a state from position; the position after it, or -1 when the chunk ran out.
  [[nodiscard]] virtual int ReadStateChunk(const StateChunk& chunk, int position);

  // Appends every parameter's real value, 8 bytes each, in index order.
  [[nodiscard]] bool SerializeParams(StateChunk& chunk) const;
  // Sets parameters in index order while 8 bytes remain, conformed; then announces all of
  // them with the source Preset. The position after the last one, or -1 when the data ran
  // out first (the parameters read so far keep their new values).
  [[nodiscard]] int UnserializeParams(const StateChunk& chunk, int position);
  // Fills up to count uninitialised slots with the current values, named name or "Empty".
  void FillDefaultPresets(const char* name, int count);

  [[nodiscard]] int NPresets() const noexcept { return int(presets.size()); }
  [[nodiscard]] const Preset* GetPreset(int index) const noexcept;

private:
  std::vector<Preset> presets;
};

} // namespace kit
