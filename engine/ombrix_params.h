#pragma once
// The four parameters of Ombrix: their indices (also their order in a saved state) and
// their set-up. Called once while the plug-in is constructed, on the main thread.

#include "framework/param.h"

namespace kit
{

enum EOmbrixParam
{
  kParamDither = 0,
  kParamPsychoacousticPower = 1,
  kParamTargetBits = 2,
  kParamShowGraph = 3,
  kOmbrixParamCount = 4
};

void SetupOmbrixParams(IParam& dither, IParam& psychoacousticPower, IParam& targetBits, IParam& showGraph);

} // namespace kit
