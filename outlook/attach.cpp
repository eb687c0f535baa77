// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Attaching to Outlook through the back end that the program registered.
#include "outlook/application.h"
#include "platform/error.h"

using namespace Qt::StringLiterals;

namespace tlm::outlook {

namespace {
Backend& registered() {
    static Backend backend;
    return backend;
}
} // namespace

void setBackend(Backend backend) {
    registered() = std::move(backend);
}

ApplicationPtr attach() {
    return attach(QString());
}

ApplicationPtr attach(const QString& storePath) {
    try {
        if (!registered())
            throw Error(err::CannotCreateObject, u"kein Outlook-Zugang eingerichtet"_s);
        return registered()(storePath);
    } catch (const Error& e) {
        throw Error(err::CannotCreateObject,
                    u"Objekterstellung durch ActiveX-Komponente nicht möglich ("_s +
                        e.description() + u')');
    }
}

} // namespace tlm::outlook
