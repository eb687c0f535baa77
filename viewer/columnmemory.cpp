// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/columnmemory.h"

#include "platform/paths.h"

#include <QHeaderView>
#include <QSettings>
#include <QTimer>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
QString keyOf(pim::FolderKind kind) {
    return u"Spalten/"_s + pim::kindName(kind);
}
} // namespace

ColumnMemory::ColumnMemory(QTreeView* view)
    : QObject(view), m_view(view), m_write(new QTimer(this)) {
    m_write->setSingleShot(true);
    m_write->setInterval(500);
    connect(m_write, &QTimer::timeout, this, &ColumnMemory::write);
    QHeaderView* header = view->header();
    connect(header, &QHeaderView::sectionResized, this, &ColumnMemory::remember);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &ColumnMemory::remember);
}

QString ColumnMemory::settingsPath() {
    return paths::configFolder() + u"tellmarin-viewer.ini"_s;
}

void ColumnMemory::arrange(pim::FolderKind kind) {
    flush(); // the folder shown before
    m_arranged = false;
    m_kind = kind;
    QHeaderView* header = m_view->header();
    const QByteArray state =
        QSettings(settingsPath(), QSettings::IniFormat).value(keyOf(kind)).toByteArray();
    m_fit = state.isEmpty() || !header->restoreState(QByteArray::fromBase64(state));
    m_view->sortByColumn(header->sortIndicatorSection(), header->sortIndicatorOrder());
    m_arranged = true;
    rowsChanged();
}

void ColumnMemory::rowsChanged() {
    if (m_fit && m_view->model()->rowCount() > 0)
        fitToContents();
}

void ColumnMemory::fitToContents() {
    m_fit = false;
    m_arranged = false; // not the user's widths
    for (int c = 0; c < m_view->header()->count(); ++c)
        m_view->resizeColumnToContents(c);
    m_arranged = true;
}

void ColumnMemory::remember() {
    if (m_arranged)
        m_write->start();
}

void ColumnMemory::flush() {
    if (m_write->isActive())
        write();
}

void ColumnMemory::write() {
    m_write->stop();
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(keyOf(m_kind), m_view->header()->saveState().toBase64());
}

} // namespace tlm::viewer
