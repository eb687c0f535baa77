// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the benchmarks share: a store filled with many contacts of about 2.5
// phone numbers each, a private environment for the program's files, and the
// arguments of a "called" event.
#include <QString>
#include <QStringList>

namespace tlm::bench {

// The n-th number of a contact as a user would type it.
QString numberOf(int contact, int n);
// The same in the dialling form the index holds.
QString indexedNumberOf(int contact, int n);

// Points TEMP, the settings, the store and the runtime folder into root and
// lets the program answer its own questions offscreen.
void useEnvironment(const QString& root);
// The program's work folder and today's index file in that environment.
QString workFolder(const QString& root);
QString indexFile(const QString& root);

// Adds count contacts to the default contacts folder of the environment's
// store; returns the number of phone numbers added.
int fillContacts(int count);

// The 19 arguments of a "called" event from number.
QStringList calledEvent(const QString& number, const QString& callId);

double millis(qint64 nanoseconds);
double median(QList<double> values);

} // namespace tlm::bench
