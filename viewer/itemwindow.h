#pragma once
// The window of one open inspector: at the rectangle and in the state the
// program asked for, captioned as Outlook captions it, with the item's fields
// in a form of its kind and its body (links handed to the desktop). A
// running journal timer ticks. Contacts and drafts can be edited; closing
// asks whether changes are kept.
#include "outlook/pim/pimstore.h"

#include <QMap>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTimer;

namespace tlm::viewer {

class ItemWindow : public QWidget {
public:
    ItemWindow(pim::Store& store, const pim::Store::OpenInspector& inspector);

    const QString& entryId() const { return m_record.entryId; }
    // Takes a newer state of the inspector and of the item (another process
    // changed it); fields the user is editing stay as typed.
    void follow(const pim::Store::OpenInspector& inspector);
    bool changed() const;

    // The running timer's text ("Zeitmessung läuft: 00:01:05"); empty when
    // no timer runs.
    QString timerText() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void place(const pim::InspectorState& state);
    void showRecord();
    void saveEdits();
    void saveAndClose();
    // Runs change in one store transaction; a failure is shown, not thrown.
    bool inTransaction(const std::function<void()>& change);

    pim::Store& m_store;
    pim::ItemRecord m_record;
    pim::InspectorState m_state;
    bool m_editable = false;
    QMap<QString, QLineEdit*> m_fields;
    QTextBrowser* m_body;
    QLabel* m_timer;
    QTimer* m_tick;
};

} // namespace tlm::viewer
