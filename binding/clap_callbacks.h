// The plain C functions a plug-in record carries for the host. Used by the CLAP base when it
// fills its record; the extension records live beside them.
#pragma once

#include "binding/clap_abi.h"

namespace kit
{

// Points the ten lifecycle callbacks of record at the functions that forward to the instance.
void InstallPluginCallbacks(clap_plugin& record) noexcept;

} // namespace kit
