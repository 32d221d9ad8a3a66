// How many threads the simulator's process runs, to see that a plugin ends
// the threads it starts before the framework frees its library.
#pragma once

namespace simtool {

// The process's threads now; -1 when the platform cannot tell.
int ThreadsOfThisProcess();

// The process's threads once they are at most `expected`, or after a bounded
// while (about a second) if they stay above: a thread that a join has just
// waited for may still be listed by the system for a moment as it ends.
int ThreadsSettledTo(int expected);

}  // namespace simtool
