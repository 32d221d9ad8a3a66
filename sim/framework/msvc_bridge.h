// Connects the Windows framework double (AsaApi.dll) to this simulated
// framework; called once, when the framework is first created.
#pragma once

#include "asa/api.h"

namespace simfw {

void ConnectFrameworkDouble();

// Blocks the double holds right now (its copies of callbacks, its messaging
// objects): a plugin that releases what it is handed leaves this unchanged.
ASAAPI_API long long FrameworkDoubleLiveBlocks();

}  // namespace simfw
