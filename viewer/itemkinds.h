// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the viewer shows of each kind of item: the word of its window
// caption, the columns of its folder's list and the fields of its form.
#include "store/pimstore.h"

#include <QList>
#include <QString>

namespace tlm::viewer {

struct Field {
    QString property; // store property name; "FileAs" shows the contact as filed
    QString label;    // German caption
    QString group;    // the frame the field lies in; empty: the form itself
};

// "Kontakt", "Journaleintrag", "Termin", "Aufgabe", "Nachricht" or "Element".
QString kindWord(const QString& messageClass);
bool isContact(const pim::ItemRecord& item);
// "<subject or name> - <kind word>", as Outlook captions its windows; runs
// of blanks shown as one.
QString caption(const pim::ItemRecord& item, const QString& storedCaption = {});

QList<Field> columns(pim::FolderKind kind);
// The fields of the item's form; a contact shows the address it has.
QList<Field> formFields(const pim::ItemRecord& item);

// A property of the record as text (dates in the German form, dates without
// a time of day as dates alone). "FileAs" is the stored one, else "Last,
// First", else the company.
QString text(const pim::ItemRecord& item, const QString& property);

} // namespace tlm::viewer
