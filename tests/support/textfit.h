// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts measured against their controls with the platform's font metrics,
// as a person sees them on the screen.
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

class QLabel;
class QWidget;

namespace tlm::test {

// The label's whole text shows: on its lines within its width, or wrapped
// within its height.
::testing::AssertionResult showsWholeText(const QLabel* label);

// The labels with a text below parent, each named with what it lacks;
// empty when every text shows whole.
QStringList cutLabels(const QWidget* parent);

// Pairs of sibling labels with a text whose areas lie on each other, as
// "name1/name2".
QStringList overlappingLabels(const QWidget* parent);

} // namespace tlm::test
