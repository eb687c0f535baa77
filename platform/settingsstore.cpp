#include "platform/settingsstore.h"

#include "platform/fileio.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/inifind.h"
#include "platform/paths.h"

using namespace Qt::StringLiterals;

namespace tlm::settingsstore {
namespace {
const QString& section() {
    static const QString name = u"Tellmarin"_s;
    return name;
}
} // namespace

QString filePath() {
    return paths::configFolder() + u"Tellmarin.ini"_s;
}

QString get(const QString& key, const QString& def) {
    // Values come back exactly as saved: blanks around them are part of them
    // (a separator like ", ").
    return ini::find(filePath(), section(), key, ini::ValueForm::Exact).value_or(def);
}

bool contains(const QString& key) {
    return ini::find(filePath(), section(), key).has_value();
}

void save(const QString& key, const QString& value) {
    if (!files::ensureFolder(paths::configFolder()))
        fileio::raiseAccess();
    ini::write(filePath(), section(), key, value);
}

} // namespace tlm::settingsstore
