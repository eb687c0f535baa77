// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/syncerror.h"

namespace tlm::sync {

SyncError::SyncError(Failure failure, QString message, int status)
    : m_failure(failure), m_message(std::move(message)), m_status(status),
      m_what(m_message.toUtf8()) {}

} // namespace tlm::sync
