#pragma once
// Registers the contact choice and end-of-call windows with the call
// processing, which shows them modally.
namespace tlm {

void registerCallWindows();

} // namespace tlm
