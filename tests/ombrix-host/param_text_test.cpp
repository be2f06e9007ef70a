// A parameter change as ombrix-host prints it: the plug-in's own name and value text, with
// plain fall-backs for what the plug-in does not know.
#include "engine/ombrix_params.h"
#include "tests/ombrix-host/live_session.h"
#include "tools/ombrix-host/param_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kit::live
{
namespace
{

TEST(ParamText, NamesTheParameterAndItsValue)
{
  auto session = test::StartRoundingSession();
  ASSERT_NE(session, nullptr);
  const clap_plugin& plugin = *session->Plugin();
  const auto* params = static_cast<const clap_plugin_params*>(plugin.get_extension(&plugin, CLAP_EXT_PARAMS));
  ASSERT_NE(params, nullptr);
  struct Case
  {
    ParamChange change;
    std::string expected;
  };
  const std::vector<Case> cases {
    { { clap_id(kParamTargetBits), 20.0 }, "Target Bits: 20" },
    { { clap_id(kParamDither), 1.0 }, "Dither: on" },
    { { clap_id(kParamPsychoacousticPower), 0.0 }, "Psychoacoustic Power: off" },
    { { clap_id(kParamShowGraph), 0.0 }, "Show Graph: off" },
    { { 99, 0.5 }, "parameter 99: 0.5" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(ParamChangeText(plugin, params, c.change), c.expected);
  }
  EXPECT_EQ(ParamChangeText(plugin, nullptr, { clap_id(kParamTargetBits), 20.0 }), "parameter 2: 20");
}

} // namespace
} // namespace kit::live
