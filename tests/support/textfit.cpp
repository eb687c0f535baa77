// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/textfit.h"

#include <QFontMetrics>
#include <QLabel>

namespace tlm::test {
namespace {

QString shownText(const QLabel* label) {
    const QString text = label->text();
    if (!label->buddy())
        return text;
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i; // "&x" shows an underlined x, "&&" one "&"
        shown += text[i];
    }
    return shown;
}

// The part of the label that holds its text.
QRect textRoom(const QLabel* label) {
    QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                -label->margin());
    if (label->indent() > 0) {
        const Qt::Alignment a = label->alignment();
        if (a & Qt::AlignLeft)
            room.setLeft(room.left() + label->indent());
        if (a & Qt::AlignRight)
            room.setRight(room.right() - label->indent());
        if (a & Qt::AlignTop)
            room.setTop(room.top() + label->indent());
        if (a & Qt::AlignBottom)
            room.setBottom(room.bottom() - label->indent());
    }
    return room;
}

bool hasText(const QLabel* label) {
    return !label->text().trimmed().isEmpty() && label->pixmap().isNull();
}

} // namespace

::testing::AssertionResult showsWholeText(const QLabel* label) {
    const QString text = shownText(label);
    const QRect room = textRoom(label);
    const QFontMetrics metrics(label->font());
    const int flags = label->wordWrap() ? int(Qt::TextWordWrap) : 0;
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, room.width(), 100000), flags | label->alignment(), text);
    if (needed.width() <= room.width() && needed.height() <= room.height())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << label->objectName().toStdString() << " \"" << text.toStdString() << "\" needs "
           << needed.width() << "x" << needed.height() << " px, has " << room.width() << "x"
           << room.height();
}

QStringList cutLabels(const QWidget* parent) {
    QStringList cut;
    for (const QLabel* label : parent->findChildren<QLabel*>()) {
        if (!hasText(label))
            continue;
        const ::testing::AssertionResult result = showsWholeText(label);
        if (!result)
            cut << QString::fromUtf8(result.message());
    }
    return cut;
}

QStringList overlappingLabels(const QWidget* parent) {
    QStringList pairs;
    const QList<QLabel*> labels = parent->findChildren<QLabel*>();
    for (qsizetype i = 0; i < labels.size(); ++i) {
        for (qsizetype j = i + 1; j < labels.size(); ++j) {
            const QLabel* a = labels[i];
            const QLabel* b = labels[j];
            if (a->parentWidget() != b->parentWidget() || !hasText(a) || !hasText(b) ||
                a->isHidden() || b->isHidden())
                continue;
            if (a->geometry().intersects(b->geometry()))
                pairs << a->objectName() + u'/' + b->objectName();
        }
    }
    return pairs;
}

} // namespace tlm::test
