// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/itemwindow.h"

#include "platform/clock.h"
#include "platform/error.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "store/properties.h"
#include "ui/design.h"
#include "ui/formparts.h"
#include "viewer/itemkinds.h"
#include "viewer/textmerge.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
// Notes are saved this long after the last key stroke.
constexpr int NotesSaveMs = 800;

QString hms(qint64 seconds) {
    return u"%1:%2:%3"_s.arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

bool isJournal(const pim::ItemRecord& r) {
    return kindWord(r.messageClass) == u"Journaleintrag"_s;
}

void setBody(QTextEdit* edit, const pim::ItemRecord& r) {
    if (!r.htmlBody.isEmpty())
        edit->setHtml(r.htmlBody);
    else
        edit->setPlainText(r.body);
}

// The body's text as the window shows it, so that it compares with what the
// user typed.
QString shownText(const pim::ItemRecord& r) {
    QTextDocument doc;
    if (!r.htmlBody.isEmpty())
        doc.setHtml(r.htmlBody);
    else
        doc.setPlainText(r.body);
    return doc.toPlainText();
}

QString withCrLf(QString text) {
    return text.replace(u"\n"_s, u"\r\n"_s);
}
} // namespace

ItemWindow::ItemWindow(pim::Store& store, const pim::Store::OpenInspector& inspector)
    : m_store(store), m_record(store.item(inspector.entryId)) {
    setObjectName(u"inspector"_s);
    setAttribute(Qt::WA_DeleteOnClose); // the viewer forgets it when it is gone
    m_editable = isContact(m_record) || m_record.unsaved;
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    buildForm(central, layout);
    m_timer = new QLabel(central);
    m_timer->setObjectName(u"lblTimer"_s);
    layout->addWidget(m_timer);
    m_body = new QTextBrowser(central);
    m_body->setObjectName(u"txtBody"_s);
    m_body->setAccessibleName(u"Notiz"_s);
    m_body->setOpenLinks(false);
    connect(m_body, &QTextBrowser::anchorClicked, this,
            [](const QUrl& url) { shell::open(url.toString()); });
    layout->addWidget(m_body, 1);
    if (m_editable) {
        auto* save = new QPushButton(u"&Speichern && schließen"_s, central);
        save->setObjectName(u"cmdSaveClose"_s);
        connect(save, &QPushButton::clicked, this, &ItemWindow::saveAndClose);
        layout->addWidget(save, 0, Qt::AlignRight);
        new QShortcut(QKeySequence::Save, this, this, &ItemWindow::saveAndClose);
    }
    setCentralWidget(central);
    new QShortcut(Qt::Key_Escape, this, this, &QWidget::close);
    m_tick = new QTimer(this);
    m_tick->setInterval(1000);
    connect(m_tick, &QTimer::timeout, this, [this] { m_timer->setText(timerText()); });
    m_notesSave = new QTimer(this);
    m_notesSave->setSingleShot(true);
    m_notesSave->setInterval(NotesSaveMs);
    connect(m_notesSave, &QTimer::timeout, this, &ItemWindow::saveNotes);
    connect(m_body, &QTextEdit::textChanged, this, [this] {
        if (notesPending())
            m_notesSave->start();
    });
    design::setBackground(this, design::storedColour(design::ColorBack));
    design::setTextColour(this, design::storedColour(design::ColorBackFont));
    design::setBackground(m_timer, design::storedColour(design::ColorDefault));
    design::setTextColour(m_timer, design::storedColour(design::ColorFont));
    showRecord();
    m_state = inspector.state;
    setCaption(inspector.caption);
    place(inspector.state);
}

void ItemWindow::buildForm(QWidget* parent, QVBoxLayout* layout) {
    auto* form = new QFormLayout;
    layout->addLayout(form);
    QMap<QString, QFormLayout*> groups;
    for (const Field& f : formFields(m_record)) {
        QFormLayout* into = form;
        QWidget* owner = parent;
        if (!f.group.isEmpty()) {
            into = groups.value(f.group);
            if (!into) {
                auto* frame = new QGroupBox(f.group, parent);
                frame->setObjectName(u"fraAddress"_s);
                frame->setAccessibleName(f.group);
                into = new QFormLayout(frame);
                groups.insert(f.group, into);
                layout->addWidget(frame);
            }
            owner = into->parentWidget();
        }
        auto* edit = new QLineEdit(owner);
        edit->setObjectName(u"txt"_s + f.property);
        edit->setReadOnly(!m_editable);
        if (!m_editable) { // a field that cannot be changed does not look as if it could
            edit->setFrame(false);
            QPalette flat = edit->palette();
            flat.setColor(QPalette::Base, Qt::transparent);
            edit->setPalette(flat);
        }
        auto* label = new QLabel(f.label + u':', owner);
        formparts::names(label, edit, f.label);
        into->addRow(label, edit);
        m_fields.insert(f.property, edit);
    }
}

void ItemWindow::setCaption(const QString& storedCaption) {
    const QString title = caption(m_record, storedCaption);
    setWindowTitle(title);
    setWindowIconText(title); // what a minimised window is called
}

void ItemWindow::showRecord() {
    for (auto it = m_fields.begin(); it != m_fields.end(); ++it) {
        it.value()->setText(text(m_record, it.key()));
        it.value()->setModified(false);
    }
    const bool running = m_record.timerStarted.isValid();
    if (running && isJournal(m_record))
        m_notes = true; // and stays so: the user may still be writing when the call ends
    if (m_body->isReadOnly() == m_notes)
        m_body->setReadOnly(!m_notes);
    showBody();
    m_timer->setVisible(running);
    m_timer->setText(timerText());
    if (running)
        m_tick->start();
    else
        m_tick->stop();
}

void ItemWindow::showBody() {
    if (notesPending())
        return; // merged with what is stored when they are saved
    const QString text = shownText(m_record);
    if (text == m_body->toPlainText() && !m_body->document()->isEmpty())
        return; // keeps the cursor of a user who writes notes
    setBody(m_body, m_record);
    m_body->document()->setModified(false);
    m_notesBase = m_body->toPlainText();
}

bool ItemWindow::notesPending() const {
    return m_notes && m_body->document()->isModified() && m_body->toPlainText() != m_notesBase;
}

void ItemWindow::saveNotes() {
    m_notesSave->stop();
    if (!notesPending())
        return;
    const QString mine = m_body->toPlainText();
    QString merged;
    if (!inTransaction([&] {
            pim::ItemRecord stored = m_store.item(m_record.entryId);
            const QString theirs = shownText(stored);
            merged = mergeText(m_notesBase, mine, theirs);
            if (merged == theirs)
                return;
            stored.body = withCrLf(merged);
            // The window's rendering keeps links; a merged text has none.
            stored.htmlBody = merged == mine ? m_body->toHtml() : QString();
            stored.properties.insert(u"LastModificationTime"_s, clock::now());
            m_store.updateItem(stored);
            m_record.body = stored.body;
            m_record.htmlBody = stored.htmlBody;
        }))
        return;
    m_notesBase = merged;
    if (merged != mine)
        m_body->setPlainText(merged);
    m_body->document()->setModified(false);
}

QString ItemWindow::timerText() const {
    if (!m_record.timerStarted.isValid())
        return {};
    const qint64 seconds = std::max<qint64>(0, m_record.timerStarted.secsTo(clock::now()));
    return u"Zeitmessung läuft: "_s + hms(seconds);
}

void ItemWindow::place(const pim::InspectorState& state) {
    if (state.width > 0 && state.height > 0)
        setGeometry(state.left, state.top, state.width, state.height);
    else if (size().isEmpty() || !isVisible())
        resize(520, 600);
    switch (state.windowState) {
    case 0:
        setWindowState(Qt::WindowMaximized);
        break;
    case 1:
        setWindowState(Qt::WindowMinimized);
        break;
    default:
        setWindowState(Qt::WindowNoState);
    }
}

void ItemWindow::follow(const pim::Store::OpenInspector& inspector) {
    const pim::ItemRecord fresh = m_store.item(inspector.entryId);
    if (!changed()) {
        m_record = fresh;
        showRecord();
    } else {
        m_record.timerStarted = fresh.timerStarted;
    }
    setCaption(inspector.caption);
    if (inspector.state != m_state) {
        m_state = inspector.state;
        place(inspector.state);
    }
}

bool ItemWindow::changed() const {
    for (const QLineEdit* e : m_fields)
        if (e->isModified())
            return true;
    return false;
}

// Writes the edited fields into the item as it is stored now, so that what
// another process changed meanwhile in other fields stays.
void ItemWindow::saveEdits() {
    pim::ItemRecord r = m_store.item(m_record.entryId);
    const quint8 kind = pim::kindBitOf(r.messageClass);
    for (auto it = m_fields.begin(); it != m_fields.end(); ++it) {
        if (!it.value()->isModified())
            continue;
        const pim::PropDef* def = pim::findProperty(kind, it.key());
        if (def && !def->computed)
            r.properties.insert(pim::propertyName(*def),
                                pim::convertValue(*def, it.value()->text()));
    }
    r.properties.insert(u"LastModificationTime"_s, clock::now());
    r.unsaved = false;
    m_store.updateItem(r);
    m_record = r;
}

bool ItemWindow::inTransaction(const std::function<void()>& change) {
    try {
        m_store.transaction(change);
        return true;
    } catch (const Error& e) {
        msgbox::show(QString::number(e.number()) + u": "_s + e.description(), msgbox::Buttons::Ok,
                     msgbox::Icon::Critical, windowTitle(), 1, this);
        return false;
    }
}

void ItemWindow::saveAndClose() {
    if (!inTransaction([this] {
            saveEdits();
            m_store.closeInspector(m_record.entryId);
        }))
        return;
    showRecord(); // nothing left unsaved to ask about
    close();
}

void ItemWindow::closeEvent(QCloseEvent* event) {
    saveNotes();
    if (m_editable && (m_record.unsaved || changed())) {
        const msgbox::Answer answer =
            msgbox::show(u"Möchten Sie die Änderungen speichern?"_s, msgbox::Buttons::YesNoCancel,
                         msgbox::Icon::Question, windowTitle(), 1, this);
        if (answer == msgbox::Answer::Cancel || !inTransaction([&] {
                if (answer == msgbox::Answer::Yes)
                    saveEdits();
                else if (m_record.unsaved)
                    m_store.removeItem(m_record.entryId);
                if (answer == msgbox::Answer::Yes || !m_record.unsaved)
                    m_store.closeInspector(m_record.entryId);
            })) {
            event->ignore();
            return;
        }
    } else {
        m_store.closeInspector(m_record.entryId);
    }
    m_tick->stop();
    event->accept();
}

} // namespace tlm::viewer
