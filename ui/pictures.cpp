// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QWidget>

namespace tlm::pictures {
namespace {

const QColor blue(38, 92, 160);
const QColor teal(40, 140, 130);
const QColor amber(214, 150, 40);
const QColor red(190, 50, 50);
const QColor grey(110, 110, 110);

void person(QPainter& p, QColor colour) {
    p.setBrush(colour);
    p.drawEllipse(QRectF(11, 4, 10, 10));
    p.drawChord(QRectF(5, 16, 22, 24), 0, 180 * 16);
}

void folder(QPainter& p) {
    p.setBrush(amber);
    QPainterPath path;
    path.moveTo(3, 9);
    path.lineTo(12, 9);
    path.lineTo(15, 12);
    path.lineTo(29, 12);
    path.lineTo(29, 27);
    path.lineTo(3, 27);
    path.closeSubpath();
    p.drawPath(path);
}

void sign(QPainter& p, bool plus) {
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(QLineF(11, 19.5, 21, 19.5));
    if (plus)
        p.drawLine(QLineF(16, 14.5, 16, 24.5));
}

void screen(QPainter& p, const QString& digit) {
    p.setBrush(grey);
    p.drawRoundedRect(QRectF(3, 5, 26, 18), 2, 2);
    p.drawRect(QRectF(13, 23, 6, 3));
    p.drawRect(QRectF(9, 26, 14, 2));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(3, 5, 26, 18), Qt::AlignCenter, digit);
}

void letter(QPainter& p, QColor colour, const QString& text) {
    p.setBrush(colour);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(text.size() > 1 ? 11 : 18);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, text);
}

void paint(QPainter& p, Kind kind) {
    p.setPen(Qt::NoPen);
    switch (kind) {
    case Kind::Logo:
        return letter(p, blue, QStringLiteral("T"));
    case Kind::Klick:
        return letter(p, teal, QStringLiteral("CTI"));
    case Kind::Outlook:
        person(p, blue);
        p.setBrush(teal);
        p.drawEllipse(QRectF(20, 20, 10, 10));
        return;
    case Kind::Contact:
        return person(p, blue);
    case Kind::Journal:
        p.setBrush(teal);
        p.drawRoundedRect(QRectF(7, 3, 19, 26), 2, 2);
        p.setPen(QPen(Qt::white, 2));
        for (int y = 10; y <= 22; y += 6)
            p.drawLine(QLineF(11, y, 22, y));
        return;
    case Kind::Calendar:
        p.setBrush(Qt::white);
        p.setPen(QPen(grey, 1.5));
        p.drawRect(QRectF(4, 6, 24, 22));
        p.setBrush(red);
        p.drawRect(QRectF(4, 6, 24, 7));
        p.setPen(grey);
        for (int x = 8; x <= 24; x += 5)
            for (int y = 16; y <= 24; y += 4)
                p.drawPoint(QPointF(x, y));
        return;
    case Kind::RefreshOn:
        p.setPen(QPen(teal, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(teal);
        p.drawPolygon(QPolygonF({QPointF(17, 2), QPointF(24, 7), QPointF(17, 12)}));
        return;
    case Kind::RefreshOff:
        p.setBrush(amber);
        p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(24, 4), QPointF(16, 16)}));
        p.drawPolygon(QPolygonF({QPointF(8, 28), QPointF(24, 28), QPointF(16, 16)}));
        return;
    case Kind::Monitor1:
        return screen(p, QStringLiteral("1"));
    case Kind::Monitor2:
        return screen(p, QStringLiteral("2"));
    case Kind::Busy:
        p.setBrush(red);
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 14, 16, 4));
        return;
    case Kind::FolderAdd:
        folder(p);
        return sign(p, true);
    case Kind::FolderRemove:
        folder(p);
        return sign(p, false);
    case Kind::FolderPick:
        folder(p);
        p.setBrush(QColor(240, 190, 90));
        p.drawPolygon(
            QPolygonF({QPointF(7, 16), QPointF(31, 16), QPointF(27, 27), QPointF(3, 27)}));
        return;
    }
}

} // namespace

QPixmap picture(Kind kind, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    paint(p, kind);
    return pixmap;
}

QPixmap drawn(Drawn which) {
    switch (which) {
    case Drawn::Contact:
        return QPixmap(QStringLiteral(":/ui/contact.png"));
    case Drawn::Contacts:
        return QPixmap(QStringLiteral(":/ui/contacts.png"));
    case Drawn::Unknown:
        return QPixmap(QStringLiteral(":/ui/unknown.png"));
    }
    return {};
}

QPixmap desktop(const QWidget* widget, Desktop which) {
    static constexpr QStyle::StandardPixmap standard[] = {
        QStyle::SP_ComputerIcon, QStyle::SP_MediaVolume, QStyle::SP_DriveNetIcon,
        QStyle::SP_FileDialogContentsView, QStyle::SP_DirIcon};
    return widget->style()->standardIcon(standard[static_cast<int>(which)]).pixmap(32, 32);
}

} // namespace tlm::pictures
