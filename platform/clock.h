// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one clock. Every "now" comes from here: tests set a fixed
// time, scripted runs fix it with TELLMARIN_NOW=yyyy-MM-ddTHH:mm:ss.
#include <QDateTime>
#include <optional>

namespace tlm::clock {

QDateTime now();
QDate today();

// Fixes the clock (tests); std::nullopt returns to the real time.
void setFixed(std::optional<QDateTime> fixed);

} // namespace tlm::clock
