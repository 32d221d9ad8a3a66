// How many threads the simulator's process runs, to see that a plugin ends
// the threads it starts before the framework frees its library.
#pragma once

namespace simtool {

// The process's threads now; -1 when the platform cannot tell.
int ThreadsOfThisProcess();

}  // namespace simtool
