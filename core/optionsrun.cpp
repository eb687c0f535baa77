// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/optionsrun.h"
#include "core/run.h"
#include "core/settings.h"
#include "outlook/application.h"
#include "platform/screens.h"

#include <variant>

using namespace Qt::StringLiterals;

namespace tlm::optionsrun {

void attachOutlook(Run& run) {
    run.application = outlook::attach();
    run.mapi = run.application->GetNamespace(u"MAPI"_s);
}

void readWorkArea(Run& run) {
    run.env.workArea = screens::workArea();
}

void takeSetting(Run& run, keys::Key key, int value) {
    run.settings.*std::get<int Settings::*>(KeyName(key).entry().step3) = value;
}

void setCalendarMode(Run& run, bool calendar) {
    run.calendarMode = calendar;
}

} // namespace tlm::optionsrun
