#pragma once
// A render session on the Ombrix instance built into the test program, processing stereo
// 48 kHz blocks as ombrix-host's audio thread gets them: plain rounding to 16 bits (dither and
// shaping off), so that the output can be worked out beside it.

#include "binding/clap_abi.h"
#include "engine/ombrix.h"
#include "tools/host/plugin_library.h"
#include "tools/ombrix-host/audio_block.h"
#include "tools/render/render_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

extern "C" const clap_plugin_entry clap_entry;

namespace kit::test
{

// Two channels at 48 kHz and no frames: the session only needs the shape.
class StereoShape final : public render::AudioSource
{
public:
  StereoShape()
      : AudioSource(2, 48000.0, 0)
  {
  }
  std::int64_t Read(double*, std::int64_t) override { return 0; }
};

[[nodiscard]] inline std::unique_ptr<render::RenderSession> StartRoundingSession()
{
  std::string error;
  render::RenderOptions options;
  options.dither = false;
  options.power = 0;
  options.bits = 16;
  options.blockFrames = int(live::kBlockFrames);
  const StereoShape shape;
  auto session =
      render::RenderSession::Start(host::PluginLibrary::FromEntry(clap_entry, "/in-process/Ombrix.clap", error),
                                   options, shape, host::HostConfig {}, error);
  EXPECT_NE(session, nullptr) << error;
  return session;
}

[[nodiscard]] inline ui::Ombrix& OmbrixOf(const render::RenderSession& session)
{
  return dynamic_cast<ui::Ombrix&>(*static_cast<ClapPluginBase*>(session.Plugin()->plugin_data));
}

} // namespace kit::test
