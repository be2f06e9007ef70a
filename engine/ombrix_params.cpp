#include "engine/ombrix_params.h"

namespace kit
{

void SetupOmbrixParams(IParam& dither, IParam& psychoacousticPower, IParam& targetBits, IParam& showGraph)
{
  dither.SetupBool("Dither", false, "", 0, "", "off", "on");
  psychoacousticPower.SetupInt("Psychoacoustic Power", 9, 0, 12, "", 0, "");
  psychoacousticPower.AddDisplayText(0.0, "off");
  targetBits.SetupInt("Target Bits", 16, 6, 32, "", 0, "");
  showGraph.SetupBool("Show Graph", true, "", 0, "", "off", "on");
}

} // namespace kit
