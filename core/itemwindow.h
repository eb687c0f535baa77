// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Showing the call's Outlook windows (contacts, journal entries,
// appointments, tasks) at the place the user chose for their kind.
#include "outlook/fwd.h"

namespace tlm {

struct Run;

// Activates the inspector and, for a position code other than 0, sets its
// window state and rectangle from the layout of that code on the primary
// monitor's work area. An error is logged and ends the placement.
void subPosItem(Run& run, const outlook::InspectorPtr& inspector, int position);

// The item's inspector, placed by subPosItem.
void showItem(Run& run, const outlook::ItemPtr& item, int position);

} // namespace tlm
