// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of one open inspector: at the rectangle and in the state the
// program asked for, captioned as Outlook captions it, with the item's fields
// in a form of its kind and its body (links handed to the desktop). A
// running journal timer ticks, and the user writes the call's notes into the
// entry's body meanwhile; they are saved into the entry as they are typed.
// Contacts and drafts can be edited; closing asks whether changes are kept.
#include "store/pimstore.h"

#include <QMainWindow>
#include <QMap>
#include <functional>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTimer;
class QVBoxLayout;

namespace tlm::viewer {

class ItemWindow : public QMainWindow {
    Q_OBJECT

public:
    ItemWindow(pim::Store& store, const pim::Store::OpenInspector& inspector);

    const QString& entryId() const { return m_record.entryId; }
    // Takes a newer state of the inspector and of the item (another process
    // changed it); fields the user is editing and notes not yet saved stay
    // as typed.
    void follow(const pim::Store::OpenInspector& inspector);
    // Fields edited and not yet saved (notes are saved by themselves).
    bool changed() const;
    // True when the program gave the window no rectangle of its own.
    bool unplaced() const { return m_state.width <= 0 || m_state.height <= 0; }

    // The running timer's text ("Zeitmessung läuft: 00:01:05"); empty when
    // no timer runs.
    QString timerText() const;
    // Writes notes typed into the body into the stored item now (they are
    // merged with what another process wrote there meanwhile).
    void saveNotes();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildForm(QWidget* parent, QVBoxLayout* layout);
    void place(const pim::InspectorState& state);
    void setCaption(const QString& storedCaption);
    void showRecord();
    void showBody();
    bool notesPending() const;
    void saveEdits();
    void saveAndClose();
    // Runs change in one store transaction; a failure is shown, not thrown.
    bool inTransaction(const std::function<void()>& change);

    pim::Store& m_store;
    pim::ItemRecord m_record;
    pim::InspectorState m_state;
    bool m_editable = false;
    bool m_notes = false; // the body takes notes (a journal entry that ran here)
    QString m_notesBase;  // the body's text as last read or saved (LF line ends)
    QMap<QString, QLineEdit*> m_fields;
    QTextBrowser* m_body;
    QLabel* m_timer;
    QTimer* m_tick;
    QTimer* m_notesSave;
};

} // namespace tlm::viewer
