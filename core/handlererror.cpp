// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/handlererror.h"

#include "core/log.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/texts.h"

namespace tlm {

void handlerErrorLine(Log& log, const QString& handler, int step, const Error& error) {
    log.appendProgramLog(texts::dateTime(clock::now()) + QLatin1Char(' ') + handler +
                         QStringLiteral("()_%1").arg(step, 5, 10, QLatin1Char('0')) +
                         QStringLiteral(": Err ") + QString::number(error.number()) +
                         QStringLiteral("...") + error.description());
}

} // namespace tlm
