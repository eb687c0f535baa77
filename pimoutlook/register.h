// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The local PIM store as the Outlook behind outlook::attach(). The program
// registers it once at start-up, before it first attaches; so do the tests
// and tools that attach.

namespace tlm::pim {

void registerOutlookBackend();

} // namespace tlm::pim
