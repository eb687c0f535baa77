// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "callwindows/frmindexaufbau.h"

#include "core/contactindex.h"
#include "core/settings.h"
#include "ui/design.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

namespace tlm {
namespace {
class ProgressWindow : public IndexProgress {
public:
    ProgressWindow() {
        m_window.show();
        QApplication::processEvents();
    }

private:
    frmIndexaufbau m_window;
};
} // namespace

frmIndexaufbau::frmIndexaufbau() {
    setObjectName(QStringLiteral("frmIndexaufbau"));
    setWindowTitle(QStringLiteral("Tellmarin"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    design::setBackground(this, design::storedColour(design::ColorBack));

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("imgOutlookFolder"));
    image->setPixmap(pictures::desktop(this, pictures::Desktop::Folder));
    auto* label = new QLabel(QStringLiteral("Indexaktualisierung - bitte warten...."), this);
    label->setObjectName(QStringLiteral("lbl1"));
    label->setFont(QFont(QStringLiteral("Tahoma"), 9));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(image);
    layout->addWidget(label);
    adjustSize();

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize();
    move(placement(screenSize, frameGeometry().size(), readSettingInt(keys::WindowOffsetIndexX, 0),
                   readSettingInt(keys::WindowOffsetIndexY, 0)));
}

QPoint frmIndexaufbau::placement(const QSize& screen, const QSize& window, int offsetXTwips,
                                 int offsetYTwips) {
    return {screen.width() - window.width() - design::pixels(120 + offsetXTwips),
            screen.height() - window.height() - design::pixels(690 + offsetYTwips)};
}

void registerIndexProgressWindow() {
    setIndexProgressFactory([] { return std::make_unique<ProgressWindow>(); });
}

} // namespace tlm
