// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Test executables that attach to Outlook find the local PIM store behind it,
// as the program does. Built into those executables alone, so that a test of
// the interface by itself runs without any back end.
#include "pimoutlook/register.h"

namespace {
[[maybe_unused]] const bool registered = (tlm::pim::registerOutlookBackend(), true);
} // namespace
