// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/filedialog.h"

#include "platform/messagebox.h"

#include <QApplication>
#include <QFileDialog>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace tlm::filedialog {

QString openFile(const QString& title, const QString& typeDescription, const QString& pattern,
                 const QString& initialFolder) {
    const QString caption = title.isEmpty() ? u"Datei öffnen"_s : title;
    if (msgbox::autoAnswer() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        std::fputs((caption + u": abgebrochen\n"_s).toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        return u" "_s;
    }
    const QString filter = typeDescription.isEmpty() ? u"Alle Dateien (*)"_s
                                                     : typeDescription + u" ("_s + pattern + u')';
    QFileDialog dialog(QApplication::activeWindow(), caption, initialFolder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return u" "_s;
    return dialog.selectedFiles().constFirst();
}

} // namespace tlm::filedialog
