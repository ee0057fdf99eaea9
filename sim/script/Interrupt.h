// Ctrl-C during a run: the run stops between two steps or two commands, so that the transcript
// up to that point is whole and no save is left half written.
#pragma once

namespace vx {

// From now on an interrupt is noted instead of ending the process.
void watchForInterrupt();
// Whether an interrupt has come since watching began.
bool interrupted();

// The exit status of a run that an interrupt ended, as a shell gives a process ended by one.
inline constexpr int kInterrupted = 130;

} // namespace vx
