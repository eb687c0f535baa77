// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The passwords of the server accounts. Where the desktop session offers a
// Secret Service (GNOME Keyring, KWallet) they are kept there, under the
// service "Tellmarin" and the account's name; otherwise in the file
// passwordFile(), which only its owner may read or write (mode 0600): a file
// that others may read is refused, not used.
//
// A password never appears in a message, a log or a dump. Failures raise
// SyncError(Credentials).
#include <QString>

namespace tlm::sync::credentials {

enum class Keeper { SecretService, File };

// Where passwords go in this session.
Keeper keeper();
// $XDG_CONFIG_HOME/Orvensoft/Tellmarin-Passwoerter.json
QString passwordFile();

void save(const QString& account, const QString& password);
// Raises when the account has no password here.
QString load(const QString& account);
// Removes the account's password; nothing when it has none.
void remove(const QString& account);

} // namespace tlm::sync::credentials
