// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The processing of a call event after the start-up sequence.
namespace tlm {

struct Run;
enum class RunEnd;

// Dispatches the event of run.params: call-state events are processed
// automatically (the caller is shown, the call journaled and its items
// closed or deleted at its end), the CTI client's context-menu entries
// interactively. The result says whether a window keeps the process alive.
RunEnd processEvent(Run& run);

// The context-menu entries (ctiwindow, callerlog, contact).
RunEnd processInteractive(Run& run);

} // namespace tlm
