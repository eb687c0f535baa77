#pragma once
// The processing of a call event after the start-up sequence.
namespace tlm {

struct Run;

// Dispatches the event of run.params: call-state events are processed
// automatically: the caller is shown, the call journaled and its items
// closed or deleted at its end.
void processEvent(Run& run);

} // namespace tlm
