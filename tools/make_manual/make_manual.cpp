// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the user manual PDF from its Markdown source with Qt's own PDF
// writer; pictures are found relative to the source file.
// Usage: make_manual SOURCE.md OUTPUT.pdf
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: make_manual QUELLE.md AUSGABE.pdf\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_manual: %s kann nicht gelesen werden\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    // Pictures with absolute paths: printing works on a copy of the document
    // that does not know its base address.
    QString text = QString::fromUtf8(in.readAll());
    const QString folder = QFileInfo(source).absolutePath() + QLatin1Char('/');
    text.replace(QRegularExpression(QStringLiteral("\\]\\((?!/)([^)]+\\.png)\\)")),
                 QStringLiteral("](") + folder + QStringLiteral("\\1)"));
    document.setMarkdown(text);
    document.setMetaInformation(QTextDocument::DocumentTitle,
                                QStringLiteral("Tellmarin – Handbuch"));

    QPdfWriter writer(output);
    writer.setTitle(QStringLiteral("Tellmarin – Handbuch"));
    writer.setCreator(QStringLiteral("Tellmarin"));
    writer.setResolution(96); // pictures at their screen size
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter));
    document.print(&writer);
    if (!QFileInfo(output).isFile()) {
        std::fprintf(stderr, "make_manual: %s kann nicht geschrieben werden\n", argv[2]);
        return 1;
    }
    return 0;
}
