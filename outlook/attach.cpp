// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Attaching to Outlook: on this platform the local PIM store stands in for it.
#include "outlook/application.h"
#include "outlook/pim/backend.h"
#include "platform/error.h"

using namespace Qt::StringLiterals;

namespace tlm::outlook {

ApplicationPtr attach() {
    return attach(QString());
}

ApplicationPtr attach(const QString& storePath) {
    try {
        return pim::createApplication(storePath);
    } catch (const Error& e) {
        throw Error(err::CannotCreateObject,
                    u"Objekterstellung durch ActiveX-Komponente nicht möglich ("_s +
                        e.description() + u')');
    }
}

} // namespace tlm::outlook
