// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of one run (one call event): its owner is Main.
#include "core/environment.h"
#include "core/foundcontact.h"
#include "core/log.h"
#include "core/params.h"
#include "core/settings.h"
#include "outlook/fwd.h"

#include <QList>
#include <QStringList>

namespace tlm {

inline const QString productName = QStringLiteral("Tellmarin");
// The error exit of Main and of the steps it runs itself.
inline const ErrorExit mainErrorExit{QStringLiteral("Main"), QStringLiteral("...")};

// What the index lookup found for the call number.
struct Lookup {
    int foundCount = 0;
    QList<FoundContact> found; // in the index's order
    int matchedField = 0;
    outlook::ItemPtr currentContact;
    // Found through a company's main number: the caller's extension; empty
    // for contacts whose number the index holds.
    QString extension;
};

struct Run {
    Run();
    ~Run();
    Params params;
    Environment env;
    Settings settings;
    Log log;

    // Outlook, attached at start-up step 13.
    outlook::ApplicationPtr application;
    outlook::NamespacePtr mapi;
    bool calendarMode = false;
    outlook::FolderPtr newContactFolder; // null when none is configured or found
    outlook::FolderPtr alternativeFolder;

    Lookup lookup;
    // The call's journal entry or appointment, or the item found for the call.
    outlook::ItemPtr currentItem;
    QString chosenEntryId;     // the contact choice window's answer
    bool closeItems = false;   // whether the items are closed at the end of the call
    int indexRecordsTotal = 0; // records written by the last index build
};

// How a run ended: most runs are over when Main returns; some leave a window
// open and the process lives on until it closes.
enum class RunEnd { Done, OptionsWindow, ReconciliationWindow };

// The program's entry point for one call event (or, with an empty command
// line, for the options window).
RunEnd Main(Run& run, const QString& commandLine);

} // namespace tlm
