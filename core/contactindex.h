// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The contact index of the configured contact folders: the builder with its
// index log, and the lookup of the call number.
#include "outlook/fwd.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace tlm {

struct Run;

// The progress window shown while a build runs; it closes when destroyed.
class IndexProgress {
public:
    virtual ~IndexProgress() = default;
};
using IndexProgressFactory = std::function<std::unique_ptr<IndexProgress>()>;
// The windows layer registers the window here; without one nothing is shown.
void setIndexProgressFactory(IndexProgressFactory factory);

// Rewrites the index file of the day and its index log; true when at least
// one folder was indexed to the end.
bool subCreateFileIndex(Run& run, bool showProgress);

// Looks the call number up in the index: found count, found contacts,
// matched field number and current contact of run.lookup.
void subIndexLookup(Run& run);

// The contact folders of the index, in its order: the default contacts
// folder (DefaultFolder 1), then the configured ones up to the first that
// cannot be reached.
QList<outlook::FolderPtr> indexedContactFolders(const outlook::NamespacePtr& mapi);

// The index log beside the index file: its name ends in "log" for "idx".
QString indexLogPath(const QString& indexFile);

} // namespace tlm
