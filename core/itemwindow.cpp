// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/itemwindow.h"

#include "core/placement.h"
#include "core/run.h"
#include "outlook/item.h"
#include "platform/screens.h"

namespace tlm {

void subPosItem(Run& run, const outlook::InspectorPtr& inspector, int position) {
    static const ErrorExit exit{QStringLiteral("subPosItem")};
    run.log.guard(exit, [&] {
        placement::Placement p;
        if (position > 0) {
            const screens::Rect& area = run.env.workArea;
            p = placement::layout(position, {area.left, area.width, area.height},
                                  screens::monitorCount());
        }
        inspector->Activate();
        if (position != 0) {
            inspector->setWindowState(p.windowState);
            inspector->setLeft(p.left);
            inspector->setTop(p.top);
            inspector->setWidth(p.width);
            inspector->setHeight(p.height);
        }
    });
}

void showItem(Run& run, const outlook::ItemPtr& item, int position) {
    static const ErrorExit exit{QStringLiteral("subPosItem")};
    outlook::InspectorPtr inspector;
    run.log.guard(exit, [&] { inspector = item->GetInspector(); });
    if (inspector)
        subPosItem(run, inspector, position);
}

} // namespace tlm
