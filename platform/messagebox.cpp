// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messagebox.h"

#include "platform/gui.h"

#include <QApplication>
#include <QList>
#include <QMessageBox>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace tlm::msgbox {
namespace {

QList<Answer> answersOf(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return {Answer::Ok};
    case Buttons::OkCancel:
        return {Answer::Ok, Answer::Cancel};
    case Buttons::YesNo:
        return {Answer::Yes, Answer::No};
    case Buttons::YesNoCancel:
        return {Answer::Yes, Answer::No, Answer::Cancel};
    }
    return {Answer::Ok};
}

QMessageBox::StandardButton standardButton(Answer answer) {
    switch (answer) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

void report(const QString& title, const QString& text) {
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    shown.replace(u'\r', u'\n');
    const QByteArray line = (title + u": "_s + shown + u'\n').toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

bool& consoleFlag() {
    static bool console = false;
    return console;
}

Responder& responder() {
    static Responder r;
    return r;
}

} // namespace

void setResponder(Responder r) {
    responder() = std::move(r);
}

void setConsole(bool console) {
    consoleFlag() = console;
}

bool autoAnswer() {
    return qgetenv("TELLMARIN_AUTOANSWER") == "1" || gui::headless();
}

Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title,
            int defaultButton, QWidget* parent) {
    const QList<Answer> answers = answersOf(buttons);
    const Answer preset = defaultButton >= 1 && defaultButton <= answers.size()
                              ? answers[defaultButton - 1]
                              : answers.front();
    if (responder()) {
        report(title, text);
        return responder()(title, text).value_or(preset);
    }
    // Without a widget application nothing can be shown either.
    if (autoAnswer() || consoleFlag() ||
        !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        report(title, text);
        return preset;
    }
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, parent);
    for (const Answer a : answers)
        box.addButton(standardButton(a));
    box.setDefaultButton(standardButton(preset));
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Answer a : answers) {
        if (standardButton(a) == clicked)
            return a;
    }
    return answers.contains(Answer::Cancel) ? Answer::Cancel : preset;
}

} // namespace tlm::msgbox
