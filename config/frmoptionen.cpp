// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/frmoptionen.h"

#include "core/run.h"
#include "core/versioninfo.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "ui/controls.h"
#include "ui/design.h"
#include "ui/formparts.h"
#include "ui/pictures.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

constexpr int WindowWidth = 7800;
constexpr int TopicHeight = 560;
constexpr int HeaderHeight = 400;
constexpr int Margin = 120;
constexpr int FooterHeight = 1150;

using controls::label;
using formparts::pic;
using pictures::Kind;

// The arrow labels: the Webdings triangles where the font exists.
bool haveWebdings() {
    static const bool have = QFontDatabase::hasFamily(u"Webdings"_s);
    return have;
}
QString arrowText(bool open) {
    if (haveWebdings())
        return open ? u"5"_s : u"6"_s;
    return open ? u"▲"_s : u"▼"_s;
}

} // namespace

frmOptionen::frmOptionen(Run& run) : m_run(run) {
    setObjectName(u"frmOptionen"_s);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* body = new QWidget(this);
    body->setObjectName(u"body"_s);
    setCentralWidget(body);
    buildMenu();
    buildHeader();
    buildSection1();
    buildSection2();
    buildSection3();
    buildFooter();
}

frmOptionen::~frmOptionen() = default;

QFrame* frmOptionen::addSection(int number, const QString& name, const QString& title,
                                const QString& frameName, int height) {
    QWidget* body = centralWidget();
    const int i = number - 1;
    lblRubrikHeader[i] = label(body, name, QString(), QRect(0, 0, WindowWidth, HeaderHeight));
    setSectionHeader(number, title);
    lblRubrikHeader[i]->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    lblRubrikHeader[i]->setCursor(Qt::PointingHandCursor);
    lblRubrikHeader[i]->setIndent(design::pixels(150)); // room for the section's picture
    lblRubrik[i] = label(body, u"lblRubrik"_s + QString::number(number), arrowText(false),
                         QRect(WindowWidth - 420, 0, 300, HeaderHeight));
    if (haveWebdings())
        lblRubrik[i]->setFont(QFont(u"Webdings"_s));
    lblRubrik[i]->setAccessibleName(title + u" öffnen oder schließen"_s);
    QFrame* frame = controls::section(body, frameName, title, QRect(0, 0, WindowWidth, height));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setProperty("designHeight", height);
    frames[i] = frame;
    for (QWidget* w :
         {static_cast<QWidget*>(lblRubrikHeader[i]), static_cast<QWidget*>(lblRubrik[i])})
        controls::onClick(w, [this, number] { subShowRubrik(number); });
    return frame;
}

void frmOptionen::setSectionHeader(int number, const QString& text) {
    lblRubrikHeader[number - 1]->setText(u"     "_s + text);
    lblRubrikHeader[number - 1]->setAccessibleName(text);
}

void frmOptionen::buildHeader() {
    QWidget* body = centralWidget();
    lblTopic =
        label(body, u"lblTopic"_s, u"Grundeinstellungen"_s, QRect(0, 0, WindowWidth, TopicHeight));
    QFont big = lblTopic->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    lblTopic->setFont(big);
    lblTopic->setIndent(design::pixels(Margin));
    QLabel* imgLogo =
        controls::image(body, u"imgLogo"_s, pic(Kind::Logo), u"Tellmarin im Internet"_s,
                        QRect(WindowWidth - 560, 40, 480, 480));
    controls::onDoubleClick(imgLogo, [this] { mnuHilfeWeb_Click(); });
    QLabel* imgAGFEOklick = controls::image(body, u"imgAGFEOklick"_s, pic(Kind::Klick),
                                            u"[Doppelklick] AGFEO Klick im Internet"_s,
                                            QRect(WindowWidth - 1100, 40, 480, 480));
    controls::onDoubleClick(imgAGFEOklick, [] { shell::open(versioninfo::klickPage); });
    m_headerTop = TopicHeight;
}

void frmOptionen::buildFooter() {
    QWidget* body = centralWidget();
    lblInfo = label(body, u"lblInfo"_s,
                    u"Klicken Sie auf eine der obigen Rubrikenüberschriften um deren Optionen zu "
                    u"sehen/ändern"_s,
                    QRect(Margin, 0, WindowWidth - 2 * Margin, 420));
    lblInfo->setWordWrap(true);
    lblCopyright = label(body, u"lblCopyright"_s, QString(), QRect(Margin, 0, 4000, 300));
    lblFuss = label(body, u"lblFuss"_s, QString(), QRect(0, 0, WindowWidth, 560));
    cmdOk =
        controls::button(body, u"cmdOk"_s, u"Schließen"_s, QRect(WindowWidth - 1500, 0, 1350, 400));
    connect(cmdOk, &QPushButton::clicked, this, &QWidget::close);
    lblCopyright->raise();
    cmdOk->raise();
}

void frmOptionen::subShowRubrik(int section) {
    for (QLabel* arrow : lblRubrik)
        arrow->setText(arrowText(false));
    if (section == 0) {
        for (QFrame* f : frames)
            f->hide();
    } else if (section >= 1 && section <= 3) {
        QFrame* chosen = frames[section - 1];
        const bool open = !chosen->isVisibleTo(this);
        for (QFrame* f : frames)
            f->setVisible(f == chosen && open);
        lblRubrik[section - 1]->setText(arrowText(open));
    }
    // Lay the stack out from the top: a visible frame pushes the following
    // headers down by its design height.
    int top = m_headerTop;
    for (int i = 0; i < 3; ++i) {
        design::place(lblRubrikHeader[i], 0, top, WindowWidth, HeaderHeight);
        design::place(lblRubrik[i], WindowWidth - 420, top, 300, HeaderHeight);
        imgRubrik[i]->move(design::pixels(60), design::pixels(top + 40));
        if (i == 2)
            imgRubrikKalender->move(imgRubrik[i]->pos());
        imgRubrik[i]->raise();
        imgRubrikKalender->raise();
        top += HeaderHeight;
        if (frames[i]->isVisibleTo(this)) {
            const int height = frames[i]->property("designHeight").toInt();
            design::place(frames[i], 0, top, WindowWidth, height);
            top += height;
        }
    }
    design::place(lblInfo, Margin, top + 80, WindowWidth - 2 * Margin, 420);
    design::place(lblFuss, 0, top + 560, WindowWidth, 560);
    design::place(lblCopyright, Margin, top + 700, 4500, 300);
    design::place(cmdOk, WindowWidth - 1500, top + 640, 1350, 400);
    centralWidget()->setFixedSize(design::pixels(WindowWidth), design::pixels(top + 560 + 560));
    setFixedSize(centralWidget()->width(),
                 centralWidget()->height() + menuBar()->sizeHint().height());
}

void frmOptionen::subApplyDesign() {
    const QColor colourDefault = design::storedColour(design::ColorDefault);
    const QColor colourFont = design::storedColour(design::ColorFont);
    const QColor colourBack = design::storedColour(design::ColorBack);
    const QColor colourBackFont = design::storedColour(design::ColorBackFont);
    design::setBackground(lblTopic, colourDefault);
    design::setBackground(lblFuss, colourDefault);
    design::setTextColour(lblTopic, colourFont);
    design::setTextColour(lblCopyright, colourFont);
    for (int i = 0; i < 3; ++i) {
        design::setTextColour(lblRubrik[i], colourFont);
        design::setTextColour(lblRubrikHeader[i], colourFont);
        design::setBackground(lblRubrikHeader[i], colourDefault.lighter(115));
        design::setBackground(frames[i], colourBack);
        for (QLabel* l : frames[i]->findChildren<QLabel*>())
            design::setTextColour(l, colourBackFont);
        for (QCheckBox* c : frames[i]->findChildren<QCheckBox*>()) {
            design::setTextColour(c, colourBackFont);
            design::setBackground(c, colourBack);
        }
    }
    design::setTextColour(lblInfo, colourBackFont);
}

void frmOptionen::show(Run& run) {
    frmOptionen window(run);
    window.Form_Load();
    if (msgbox::autoAnswer()) {
        window.Form_Activate();
        window.close();
        return;
    }
    QEventLoop loop;
    window.m_onClosed = [&loop] { loop.quit(); };
    window.QMainWindow::show();
    loop.exec();
}

void frmOptionen::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void frmOptionen::Form_Activate() {
    subShowRubrik(1);
}

void frmOptionen::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    if (m_onClosed)
        m_onClosed();
}

void frmOptionen::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (!m_restored)
        subOptionenSpeichern();
}

} // namespace tlm
