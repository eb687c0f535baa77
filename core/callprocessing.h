#pragma once
// The processing of a call event after the start-up sequence.
namespace tlm {

struct Run;

// Dispatches the event of run.params: call-state events are processed
// automatically (so far: the caller is looked up and recorded).
void processEvent(Run& run);

} // namespace tlm
