#include "framework/plugin_base.h"

#include <algorithm>
#include <bit>

namespace kit
{

static_assert(std::endian::native == std::endian::little, "the state chunk holds little-endian doubles");

IPluginBase::IPluginBase(int paramCount, int presetCount)
    : IDrawEditorDelegate(paramCount)
    , presets(std::size_t(std::max(presetCount, 0)))
{
  for (Preset& preset : presets) preset.name.Set("empty");
}

bool IPluginBase::WriteStateChunk(StateChunk& chunk)
{
  return SerializeParams(chunk);
}

int IPluginBase::ReadStateChunk(const StateChunk& chunk, int position)
{
  return UnserializeParams(chunk, position);
}

bool IPluginBase::SerializeParams(StateChunk& chunk) const
{
  for (int i = 0; i < NParams(); ++i)
  {
    const double value = GetParam(i)->Value();
    if (!chunk.Append(&value, sizeof value)) return false;
  }
  return true;
}

int IPluginBase::UnserializeParams(const StateChunk& chunk, int position)
{
  for (int i = 0; i < NParams() && position >= 0; ++i)
  {
    double value = 0.0;
    position = chunk.Read(&value, sizeof value, position);
    if (position < 0) break;
    IParam& param = *GetParam(i);
    param.Set(param.Conform(value));
  }
  OnAllParamsReset(ChangeSource::kPreset);
  return position;
}

void IPluginBase::FillDefaultPresets(const char* name, int count)
{
  for (int n = 0; n < count; ++n)
  {
    auto slot = std::find_if(presets.begin(), presets.end(), [](const Preset& p) { return !p.initialised; });
    if (slot == presets.end()) return;
    slot->initialised = true;
    slot->name.Set(name ? name : "Empty");
    (void)WriteStateChunk(slot->chunk);
  }
}

const Preset* IPluginBase::GetPreset(int index) const noexcept
{
  return index >= 0 && index < NPresets() ? &presets[std::size_t(index)] : nullptr;
}

} // namespace kit
