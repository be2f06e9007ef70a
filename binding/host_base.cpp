#include "binding/host_base.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kit
{

namespace
{

struct HostKey
{
  std::string_view key;
  int code;
};

// Tested in this order: "wavelab elements" before "wavelab", the generic words last.
constexpr std::array<HostKey, 45> kHostTable { {
    { "reaper", 1 },         { "protools", 2 },
    { "cubase", 3 },         { "nuendo", 4 },
    { "cakewalk", 5 },       { "vegas", 6 },
    { "fruity", 7 },         { "samplitude", 8 },
    { "live", 9 },           { "tracktion", 10 },
    { "ntracks", 11 },       { "melodyne", 12 },
    { "vstmanlib", 13 },     { "aulab", 14 },
    { "forte", 15 },         { "chainer", 16 },
    { "audition", 17 },      { "orion", 18 },
    { "bias", 19 },          { "sawstudio", 20 },
    { "logic", 21 },         { "garageband", 22 },
    { "digital", 23 },       { "audiomulch", 25 },
    { "presonus", 26 },      { "vst3plugintesthost", 27 },
    { "ardour", 28 },        { "renoise", 29 },
    { "openmpt", 30 },       { "wavelab elements", 32 },
    { "wavelab", 31 },       { "twistedwave", 33 },
    { "bitwig studio", 34 }, { "reason", 36 },
    { "gwvst", 37 },         { "waveform", 38 },
    { "audacity", 39 },      { "acoustica", 40 },
    { "plugindoctor", 41 },  { "izotope rx", 42 },
    { "savihost", 43 },      { "blue cat's vst host", 44 },
    { "mixbus", 45 },        { "standalone", 24 },
    { "www", 35 },
} };

} // namespace

IHostBase::IHostBase(const PluginConfig& config, int kind)
    : IPluginBase(config.paramCount, config.presetCount)
    , pluginName(config.pluginName)
    , productName(config.productName)
    , makerName(config.makerName)
    , uniqueId(config.pluginId)
    , makerId(config.makerId)
    , vendorVersion(config.version)
    , hasEditor(config.hasEditor)
    , hostMayResize(config.hostMayResize)
    , reservedFlag(config.reservedFlag)
    , primaryIdentifier(config.primaryIdentifier)
    , secondaryIdentifier(config.secondaryIdentifier)
    , apiKind(kind)
{
  editorWidth = config.editorWidth;
  editorHeight = config.editorHeight;
  minWidth = std::min(config.minWidth, config.maxWidth);
  maxWidth = std::max(config.minWidth, config.maxWidth);
  minHeight = std::min(config.minHeight, config.maxHeight);
  maxHeight = std::max(config.minHeight, config.maxHeight);
}

IHostBase::~IHostBase()
{
  if (timer) timer->Stop();
}

void IHostBase::SetHost(std::string_view name, std::int32_t version)
{
  hostName.Set(name);
  hostVersion = version;
  hostCode = IdentifyHost(name);

  char message[512];
  std::snprintf(message, sizeof message, "host_%sknown:%s:v%d.%d.%d", hostCode != 0 ? "" : "un", hostName.c_str(),
                version >> 16, (version >> 8) & 0xFF, version & 0xFF);
  OnHostMessage(message);
  OnHostIdentified();
}

int IHostBase::IdentifyHost(std::string_view name) noexcept
{
  // Names longer than the buffer are cut: the keys are short and sit at the front in practice.
  std::array<char, 256> lower {};
  const std::size_t length = std::min(name.size(), lower.size() - 1);
  for (std::size_t i = 0; i < length; ++i)
  {
    const char c = name[i];
    lower[i] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
  }
  const std::string_view text(lower.data(), length);
  for (const HostKey& entry : kHostTable)
    if (text.find(entry.key) != std::string_view::npos) return entry.code;
  return 0;
}

void IHostBase::OnHostTimer()
{
  if (hasEditor)
  {
    // Only what is queued when the tick starts: during an offline bounce the audio thread can
    // refill a ring faster than redesigns empty it, and the tick must still end.
    EditorParamEntry entry;
    for (std::size_t n = editorParamQueue.Size(); n > 0 && editorParamQueue.Pop(entry); --n)
      SendParamValueToEditor(entry.index, entry.value, false);
    MidiMessage message;
    for (std::size_t n = midiToEditor.Size(); n > 0 && midiToEditor.Pop(message); --n) SendMidiToEditor(message);
    SysExRecord record;
    for (std::size_t n = sysExToEditor.Size(); n > 0 && sysExToEditor.Pop(record); --n) SendSysExToEditor(record);
  }
  OnIdleTick();
}

void IHostBase::QueueAllParamsForHost()
{
  for (int i = 0; i < NParams(); ++i) QueueHostParamValue(i, GetParam(i)->UnitFromRealClamped(GetParam(i)->Value()));
}

void IHostBase::BeginParamGestureFromEditor(int index)
{
  if (GetParam(index)) QueueHostGestureBegin(index);
}

void IHostBase::SetParamFromEditor(int index, double normalized)
{
  IParam* param = GetParam(index);
  if (!param) return;
  const double value = param->Conform(param->FromNormalized(normalized));
  param->Set(value);
  QueueHostParamValue(index, normalized);
  OnParamChange(index, ChangeSource::kUI, -1);
  // The hook may have moved the value; the editor's value stands.
  param->Set(value);
  OnParamChangeEditor(index, ChangeSource::kUI);
}

void IHostBase::EndParamGestureFromEditor(int index)
{
  if (GetParam(index)) QueueHostGestureEnd(index);
}

bool IHostBase::ResizeHostViewFromEditor(int widthPixels, int heightPixels, bool resizeHost)
{
  return resizeHost ? RequestEditorResize(widthPixels, heightPixels) : true;
}

void IHostBase::SendMidiFromEditor(const MidiMessage& message)
{
  (void)midiFromEditor.Push(message);
}

void IHostBase::SendSysExFromEditor(const SysExMessage& message)
{
  (void)sysExFromEditor.Push(SysExRecord::From(message));
}

bool IHostBase::SendMessageFromEditor(int messageTag, int controlTag, int size, const void* data)
{
  return OnDelegateMessage(messageTag, controlTag, size, data);
}

void IHostBase::OnHostIdentified() {}

void IHostBase::OnIdleTick() {}

void IHostBase::QueueParamForEditor(int index, double value, bool normalized) noexcept
{
  const IParam* param = GetParam(index);
  if (!param) return;
  if (normalized) value = param->Conform(param->FromNormalized(value));
  (void)editorParamQueue.Push({ index, value });
}

void IHostBase::OnHostMessage(std::string_view) {}

bool IHostBase::RequestEditorResize(int, int)
{
  return false;
}

void IHostBase::QueueHostGestureBegin(int) {}

void IHostBase::QueueHostGestureEnd(int) {}

void IHostBase::QueueHostParamValue(int, double) {}

} // namespace kit
