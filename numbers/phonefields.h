// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The twelve phone fields of a contact in their fixed order. The phone field
// number (1 to 12) is the position in this table; the contact index records it
// with every number, and the call windows show its label.
#include <QString>
#include <QStringView>
#include <array>

namespace tlm {

struct PhoneField {
    QStringView property; // the contact property
    QStringView column;   // the column name in Outlook's contact tables
    QStringView label;    // German label shown to the user
};

inline constexpr int PhoneFieldCount = 12;

inline constexpr std::array<PhoneField, PhoneFieldCount> PhoneFields{{
    {u"BusinessTelephoneNumber", u"BusinessTelephoneNumber", u"Geschäftlich"},
    {u"HomeTelephoneNumber", u"HomeTelephoneNumber", u"Privat"},
    {u"Home2TelephoneNumber", u"Home2TelephoneNumber", u"Privat"},
    {u"MobileTelephoneNumber", u"MobileTelephoneNumber", u"Mobil"},
    {u"Business2TelephoneNumber", u"Business2TelephoneNumber", u"Geschäftlich"},
    {u"CompanyMainTelephoneNumber", u"CompanyMainTelephoneNumber", u"Firma"},
    {u"CallbackTelephoneNumber", u"CallbackTelephoneNumber", u"Rückrufnummer"},
    // Outlook's table takes this column only with the lower-case "n".
    {u"CarTelephoneNumber", u"CarTelephonenumber", u"Autotelefon"},
    {u"AssistantTelephoneNumber", u"AssistantTelephoneNumber", u"Assistent"},
    {u"OtherTelephoneNumber", u"OtherTelephoneNumber", u"Andere/Weitere"},
    {u"PrimaryTelephoneNumber", u"PrimaryTelephoneNumber", u"Hauptrufnummer"},
    {u"RadioTelephoneNumber", u"RadioTelephoneNumber", u"Mobil"},
}};

// The field with phone field number 1 to 12, or nullptr outside that range.
constexpr const PhoneField* phoneField(int number) {
    return number >= 1 && number <= PhoneFieldCount ? &PhoneFields[number - 1] : nullptr;
}

// The label of a phone field number; empty outside 1 to 12. A text argument
// is taken as a number first ("4" gives "Mobil"); a text that is no whole
// number gives an empty label.
QString fncPhoneFieldLabel(int number);
QString fncPhoneFieldLabel(const QString& number);

} // namespace tlm
