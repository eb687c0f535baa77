// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What can go wrong between the store and a server, in the words the user
// reads (the tool prints them, the viewer shows them). A message never holds
// a password or an Authorization header.
#include <QString>
#include <exception>

namespace tlm::sync {

enum class Failure {
    Unreachable,    // no connection, timeout, name not resolved
    Authentication, // 401/403: user or password refused
    Certificate,    // TLS: the certificate cannot be trusted
    InsecureHttp,   // plain HTTP to a non-loopback host without --allow-http
    Redirect,       // a redirect to another server, or too many
    Http,           // any other unexpected HTTP status
    BadAnswer,      // an answer that cannot be read (XML, content type)
    TooLarge,       // an answer above the limit
    Unsupported,    // the server or collection cannot do what is asked
    Credentials,    // the password cannot be stored or read here
    Store,          // the local store cannot be read or written
};

class SyncError : public std::exception {
public:
    SyncError(Failure failure, QString message, int status = 0);
    Failure failure() const noexcept { return m_failure; }
    int status() const noexcept { return m_status; } // HTTP status, 0 if none
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    Failure m_failure;
    QString m_message;
    int m_status;
    QByteArray m_what;
};

} // namespace tlm::sync
