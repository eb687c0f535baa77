#pragma once
// The per-user settings store, application "Orvensoft", section "Tellmarin".
// Here: $XDG_CONFIG_HOME/Orvensoft/Tellmarin.ini, section [Tellmarin],
// plain key=value, values not cut.
#include <QString>

namespace tlm::settingsstore {

QString filePath();
// The stored text, or def when the key is missing.
QString get(const QString& key, const QString& def = QString());
bool contains(const QString& key);
// Raises tlm::Error when the store cannot be written.
void save(const QString& key, const QString& value);

} // namespace tlm::settingsstore
