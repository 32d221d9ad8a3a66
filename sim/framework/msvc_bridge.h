// Connects the Windows framework double (AsaApi.dll) to this simulated
// framework; called once, when the framework is first created.
#pragma once

namespace simfw {

void ConnectFrameworkDouble();

}  // namespace simfw
