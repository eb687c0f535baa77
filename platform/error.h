// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one error type of the program: a number and a description, as the
// error lines of the logs show them (429 Outlook not reachable, 53 file not
// found, 75 path/file access error, ...).
#include <QByteArray>
#include <QString>
#include <exception>

namespace tlm {

class Error : public std::exception {
public:
    Error(long number, QString description);
    long number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    long m_number;
    QString m_description;
    QByteArray m_what;
};

// Frequently raised errors, with the descriptions the logs show.
namespace err {
constexpr long FileNotFound = 53;
constexpr long FileAccess = 75;
constexpr long PermissionDenied = 70;
constexpr long BadFileName = 52;
constexpr long TypeMismatch = 13;
constexpr long NoObject = 91;
constexpr long CannotCreateObject = 429;
constexpr long InvalidArgument = 5;
} // namespace err

// What a reference points to; raises NoObject ("Objektvariable oder
// With-Blockvariable nicht festgelegt") when it points to nothing.
[[noreturn]] void noObject();
template <class Pointer>
decltype(auto) required(Pointer& pointer) {
    if (!pointer)
        noObject();
    return *pointer;
}

} // namespace tlm
