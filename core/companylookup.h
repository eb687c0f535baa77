// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The company search of the lookup (setting CompanyFallback 1): a caller
// whose number the index does not hold is looked for behind a company's main
// number (numbers/companynumbers.h). A contact found so is a guess: the
// choice window's line and the item's subject show it with a leading "~",
// the per-call log names the extension, and the per-call file keeps the
// extension beside the contact for the later events of the call.
#include "core/indexfreshness.h"
#include "numbers/indexfile.h"

#include <QList>
#include <QString>
#include <functional>

namespace tlm {

struct Run;
struct Lookup;

// Whether CompanyFallback is 1.
bool companyFallbackOn();

// After an exact lookup that found no contact: hands the records of the
// company numbers the call number is an extension of to take, which counts
// them as it counts exact matches; what it found is then marked as a guess
// and logged. Nothing happens with the setting off or without a company
// file that holds for the index.
void lookUpByMainNumber(Run& run, const std::function<void(const QList<IndexMatch>&)>& take);

// Start-up: with the setting on and the company file of the index missing
// or not holding, the reason to rebuild the index; empty otherwise.
QList<RebuildReason> companyRebuildReasons(const QString& indexFile);

// The text a person sees for a guessed contact: "~" before it.
QString markedAsGuess(const QString& text);
// The contact caption of an item: marked when the lookup's contact is a guess.
QString itemCaption(const Lookup& lookup, const QString& caption);

// The per-call file keeps the extension of a guessed contact (Contact/
// Extension) with the contact; a contact that is no guess empties a value
// left there. Nothing is written when there is nothing to keep or empty.
void recordGuess(const Lookup& lookup, const QString& callFile);
// Sets the lookup's extension from the per-call file, with its contact.
void readRecordedGuess(Lookup& lookup, const QString& callFile);

} // namespace tlm
