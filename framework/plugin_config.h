// The construction record a plug-in class hands to its bases, and the origin tag that travels
// with every parameter change. Plain data, filled once on the main thread at construction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kit
{

// Packs a four-character code with the first character in the high byte ("Ombx" → 0x4F6D6278).
[[nodiscard]] constexpr std::int32_t PackFourCharCode(std::string_view code) noexcept
{
  std::uint32_t packed = 0;
  for (std::size_t i = 0; i < 4; ++i)
  {
    const auto byte = i < code.size() ? static_cast<unsigned char>(code[i]) : 0u;
    packed = (packed << 8) | byte;
  }
  return static_cast<std::int32_t>(packed);
}

// "major.minor.patch" of a version packed as major × 65536 + minor × 256 + patch.
[[nodiscard]] inline std::string VersionText(std::int32_t version)
{
  return std::to_string((version >> 16) & 0xFF) + "." + std::to_string((version >> 8) & 0xFF) + "." +
         std::to_string(version & 0xFF);
}

struct PluginConfig
{
  std::int32_t paramCount = 0;
  std::int32_t presetCount = 0;
  const char* channelIO = ""; // supported layouts, e.g. "1-1 2-2"
  const char* pluginName = "";
  const char* productName = "";
  const char* makerName = "";
  std::int32_t version = 0;  // major × 65536 + minor × 256 + patch
  std::int32_t pluginId = 0; // four-character code, see PackFourCharCode
  std::int32_t makerId = 0;  // four-character code
  std::int32_t latency = 0;  // frames
  bool midiIn = false;
  bool midiOut = false;
  bool mpe = false;
  bool reservedFlag = false;   // carried along, read by nothing
  std::int32_t pluginKind = 0; // 1 = instrument when a channel layout is chosen
  bool hasEditor = false;
  std::int32_t editorWidth = 0; // logical units
  std::int32_t editorHeight = 0;
  std::int32_t minWidth = 0;
  std::int32_t maxWidth = 0;
  std::int32_t minHeight = 0;
  std::int32_t maxHeight = 0;
  bool hostMayResize = false;
  const char* primaryIdentifier = ""; // stored, not used
  const char* secondaryIdentifier = "";
};

// Where a parameter change came from; passed with every change announcement.
enum class ChangeSource : std::int32_t
{
  kReset = 0,          // the host activated the plug-in and every parameter is announced
  kHost = 1,           // host automation or a host parameter call
  kPreset = 2,         // a preset or stored state was loaded
  kUI = 3,             // a control of the editor
  kEditorDelegate = 4, // the host's value reached the editor through the delegate
  kRecompile = 5,      // the plug-in was rebuilt while running
  kUnknown = 6,
};

} // namespace kit
