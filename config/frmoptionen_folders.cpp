// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The folder choice of the options window: the further contact folders of
// the index, the folder for new contacts and the journal or calendar folder.
#include "config/frmoptionen.h"

#include "core/folderreference.h"
#include "core/run.h"
#include "core/settings.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "platform/messagebox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
const QString product = u"Tellmarin"_s;

QString notFoundTitle(bool withTime) {
    return product + u" - Ordner nicht gefunden"_s + (withTime ? titleTimeStamp() : QString());
}
} // namespace

void frmOptionen::cmdOlFhinzu_Click() {
    ignoreErrors([this] {
        attach();
        const outlook::FolderPtr folder =
            folderchoice::pickOf(m_run.mapi, folderchoice::Kind::Contacts);
        if (!folder)
            return;
        if (folderchoice::isDefault(m_run.mapi, folder, folderchoice::Kind::Contacts)) {
            msgbox::show(u"Das ist der Standard-Kontakteordner. Dieser wird einfach mit einer "
                         u"separaten Option aktiviert"_s,
                         msgbox::Buttons::Ok, msgbox::Icon::Information, product);
            chkOlKontakteStandard->setChecked(true);
            return;
        }
        listOutlookOrdner->addItem(
            folderchoice::listLine(folder->Name(), folder->EntryID(), folder->StoreID()));
        cmdEinlesen_Click();
    });
}

void frmOptionen::cmdOlFloeschen_Click() {
    ignoreErrors([this] {
        QListWidgetItem* line = listOutlookOrdner->currentItem();
        if (!line || !line->isSelected())
            return;
        if (msgbox::show(u"Soll der Kontakt-Ordnerverweis wirklich entfernt werden?"_s,
                         msgbox::Buttons::YesNo, msgbox::Icon::Question,
                         product + u" - Outlook Kontakt-Ordner"_s, 2) != msgbox::Answer::Yes)
            return;
        delete line;
        cmdEinlesen_Click();
    });
}

void frmOptionen::listOutlookOrdner_DblClick() {
    QListWidgetItem* line = listOutlookOrdner->currentItem();
    if (!line)
        return;
    const QString text = line->text();
    try {
        attach();
        const FolderReference ref = FolderReference::parse(folderchoice::lineReference(text));
        m_run.mapi->GetFolderFromID(ref.entryId, ref.storeId)->Display();
    } catch (const Error& e) {
        const QString message = folderchoice::listFolderMissing(folderchoice::lineName(text),
                                                                e.number(), e.description());
        if (msgbox::show(message, msgbox::Buttons::YesNo, msgbox::Icon::Critical,
                         notFoundTitle(true), 2) == msgbox::Answer::Yes)
            delete line;
    }
}

void frmOptionen::cmdKontaktordner_Click() {
    ignoreErrors([this] {
        attach();
        const outlook::FolderPtr folder =
            folderchoice::pickOf(m_run.mapi, folderchoice::Kind::Contacts);
        if (!folder)
            return;
        saveSetting(keys::FolderNewContact, QString());
        const auto content =
            folderchoice::pickedContent(m_run.mapi, folder, folderchoice::Kind::Contacts);
        setFolderBox(txtContactFolder, content);
        if (!content.reference.isEmpty())
            saveSetting(keys::FolderNewContact, content.reference);
    });
}

void frmOptionen::cmdJournalordner_Click() {
    ignoreErrors([this] {
        attach();
        const folderchoice::Kind kind = journalKind();
        const outlook::FolderPtr folder = folderchoice::pickOf(m_run.mapi, kind);
        if (!folder)
            return;
        const auto content = folderchoice::pickedContent(m_run.mapi, folder, kind);
        setFolderBox(txtJournalFolder, content);
        saveSetting(folderchoice::info(kind).settingKey, content.reference);
    });
}

void frmOptionen::openFolder(const QString& reference, int defaultFolder,
                             const std::function<void(const Error&)>& missing) {
    try {
        attach();
        outlook::FolderPtr folder;
        if (reference.isEmpty()) {
            folder = m_run.mapi->GetDefaultFolder(defaultFolder);
        } else {
            const FolderReference ref = FolderReference::parse(reference);
            folder = m_run.mapi->GetFolderFromID(ref.entryId, ref.storeId);
        }
        required(folder).Display();
    } catch (const Error& e) {
        missing(e);
    }
}

void frmOptionen::txtContactFolder_DblClick() {
    openFolder(readSetting(keys::FolderNewContact), outlook::olFolderContacts, [](const Error&) {
        msgbox::show(folderchoice::contactFolderMissing(), msgbox::Buttons::Ok,
                     msgbox::Icon::Critical, notFoundTitle(true));
    });
}

void frmOptionen::txtJournalFolder_DblClick() {
    const folderchoice::Kind kind = journalKind();
    openFolder(readSetting(folderchoice::info(kind).settingKey),
               folderchoice::info(kind).defaultFolder, [](const Error& e) {
                   msgbox::show(folderchoice::journalFolderMissing(e.number(), e.description()),
                                msgbox::Buttons::Ok, msgbox::Icon::Critical, notFoundTitle(false));
               });
}

void frmOptionen::lblOlKontakteStandard_DblClick() {
    ignoreErrors([this] {
        attach();
        if (const outlook::FolderPtr folder =
                m_run.mapi->GetDefaultFolder(outlook::olFolderContacts))
            folder->Display();
    });
}

} // namespace tlm
