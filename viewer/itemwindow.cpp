#include "viewer/itemwindow.h"

#include "outlook/pim/properties.h"
#include "platform/clock.h"
#include "platform/design.h"
#include "platform/error.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "viewer/itemkinds.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
bool isContact(const pim::ItemRecord& r) {
    return kindWord(r.messageClass) == u"Kontakt"_s;
}
QString hms(qint64 seconds) {
    return u"%1:%2:%3"_s.arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}
} // namespace

ItemWindow::ItemWindow(pim::Store& store, const pim::Store::OpenInspector& inspector)
    : m_store(store), m_record(store.item(inspector.entryId)) {
    setObjectName(u"inspector"_s);
    setAttribute(Qt::WA_DeleteOnClose); // the viewer forgets it when it is gone
    m_editable = isContact(m_record) || m_record.unsaved;
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (const Field& f : formFields(m_record.messageClass)) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(u"txt"_s + f.property);
        edit->setReadOnly(!m_editable);
        edit->setAccessibleName(f.label);
        auto* label = new QLabel(f.label + u':', this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        m_fields.insert(f.property, edit);
    }
    layout->addLayout(form);
    m_timer = new QLabel(this);
    m_timer->setObjectName(u"lblTimer"_s);
    layout->addWidget(m_timer);
    m_body = new QTextBrowser(this);
    m_body->setObjectName(u"txtBody"_s);
    m_body->setAccessibleName(u"Notiz"_s);
    m_body->setOpenLinks(false);
    connect(m_body, &QTextBrowser::anchorClicked, this,
            [](const QUrl& url) { shell::open(url.toString()); });
    layout->addWidget(m_body, 1);
    if (m_editable) {
        auto* save = new QPushButton(u"&Speichern && schließen"_s, this);
        save->setObjectName(u"cmdSaveClose"_s);
        connect(save, &QPushButton::clicked, this, &ItemWindow::saveAndClose);
        layout->addWidget(save, 0, Qt::AlignRight);
        new QShortcut(QKeySequence::Save, this, this, &ItemWindow::saveAndClose);
    }
    new QShortcut(Qt::Key_Escape, this, this, &QWidget::close);
    m_tick = new QTimer(this);
    m_tick->setInterval(1000);
    connect(m_tick, &QTimer::timeout, this, [this] { m_timer->setText(timerText()); });
    design::setBackground(this, design::storedColour(design::ColorBack));
    design::setTextColour(this, design::storedColour(design::ColorBackFont));
    design::setBackground(m_timer, design::storedColour(design::ColorDefault));
    design::setTextColour(m_timer, design::storedColour(design::ColorFont));
    showRecord();
    m_state = inspector.state;
    setWindowTitle(caption(m_record, inspector.caption));
    place(inspector.state);
}

void ItemWindow::showRecord() {
    for (auto it = m_fields.begin(); it != m_fields.end(); ++it) {
        it.value()->setText(text(m_record, it.key()));
        it.value()->setModified(false);
    }
    if (!m_record.htmlBody.isEmpty())
        m_body->setHtml(m_record.htmlBody);
    else
        m_body->setPlainText(m_record.body);
    const bool running = m_record.timerStarted.isValid();
    m_timer->setVisible(running);
    m_timer->setText(timerText());
    if (running)
        m_tick->start();
    else
        m_tick->stop();
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
    setWindowTitle(caption(m_record, inspector.caption));
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

void ItemWindow::saveEdits() {
    const quint8 kind = pim::kindBitOf(m_record.messageClass);
    for (auto it = m_fields.begin(); it != m_fields.end(); ++it) {
        if (!it.value()->isModified())
            continue;
        const pim::PropDef* def = pim::findProperty(kind, it.key());
        if (def && !def->computed)
            m_record.properties.insert(pim::propertyName(*def),
                                       pim::convertValue(*def, it.value()->text()));
    }
    m_record.properties.insert(u"LastModificationTime"_s, clock::now());
    m_record.unsaved = false;
    m_store.updateItem(m_record);
}

bool ItemWindow::inTransaction(const std::function<void()>& change) {
    try {
        m_store.transaction(change);
        return true;
    } catch (const Error& e) {
        msgbox::show(QString::number(e.number()) + u": "_s + e.description(), msgbox::Buttons::Ok,
                     msgbox::Icon::Critical, windowTitle());
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
    if (m_editable && (m_record.unsaved || changed())) {
        const msgbox::Answer answer =
            msgbox::show(u"Möchten Sie die Änderungen speichern?"_s, msgbox::Buttons::YesNoCancel,
                         msgbox::Icon::Question, windowTitle());
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
