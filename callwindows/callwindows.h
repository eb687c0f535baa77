// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Registers the contact choice and end-of-call windows with the call
// processing, which shows them modally.
namespace tlm {

void registerCallWindows();

} // namespace tlm
