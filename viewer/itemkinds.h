#pragma once
// What the viewer shows of each kind of item: the word of its window
// caption, the columns of its folder's list and the fields of its form.
#include "outlook/pim/pimstore.h"

#include <QList>
#include <QString>

namespace tlm::viewer {

struct Field {
    QString property; // store property name; "FullName" is the computed name
    QString label;    // German caption
};

// "Kontakt", "Journaleintrag", "Termin", "Aufgabe", "Nachricht" or "Element".
QString kindWord(const QString& messageClass);
// "<subject or name> - <kind word>", as Outlook captions its windows.
QString caption(const pim::ItemRecord& item, const QString& storedCaption = {});

QList<Field> columns(pim::FolderKind kind);
QList<Field> formFields(const QString& messageClass);

// A property of the record as text (dates in the German form).
QString text(const pim::ItemRecord& item, const QString& property);

} // namespace tlm::viewer
