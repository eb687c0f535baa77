#include "core/callprocessing.h"

#include "core/callfile.h"
#include "core/contactindex.h"
#include "core/run.h"
#include "outlook/item.h"

namespace tlm {
namespace {
bool isOneOf(const QString& event, std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names)
        if (event == QString::fromUtf16(n))
            return true;
    return false;
}

// calling, called, calledbusy: who is calling?
void lookUpCaller(Run& run) {
    Log& log = run.log;
    log.subLog(run.params[P_INVOKED_FROM].toUpper() + QStringLiteral(": ") + run.params[P_NUMBER],
               41000);
    subIndexLookup(run);
    const int found = run.lookup.foundCount;
    if (found == 0) {
        log.subLog(QStringLiteral("Kein passenden Outlook-Kontakt gefunden"), 41100);
    } else if (found == 1) {
        log.guard(mainErrorExit, [&] {
            log.subLog(QStringLiteral("Outlook-Kontakt: ") +
                           contactLogText(
                               run.lookup.currentContact->get(QStringLiteral("FullNameAndCompany"))
                                   .toString()),
                       41200);
        });
        subUpdateCallFileContact(run);
    } else {
        log.subLog(QStringLiteral("Es gibt mehrere Outlook-Kontakte unter der Rufnummer"), 41300);
        run.lookup.currentContact.reset();
    }
    log.subLog(QStringLiteral("*** Event-Ende"), 41990);
}
} // namespace

void processEvent(Run& run) {
    const QString event = run.params[P_INVOKED_FROM];
    if (isOneOf(event, {u"ctiwindow", u"callerlog", u"contact"}))
        return;
    run.log.subLog(QStringLiteral("*** Automatische Rufverarbeitung"), 40000);
    if (isOneOf(event, {u"calling", u"called", u"calledbusy"}))
        lookUpCaller(run);
}

} // namespace tlm
