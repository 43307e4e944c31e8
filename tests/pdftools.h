// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// poppler's command-line tools on a written PDF; empty output when they are missing.
inline QString popplerRun(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline bool popplerThere()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

inline int pdfPages(const QString &pdf)
{
    const QString info = popplerRun(QStringLiteral("pdfinfo"), {pdf});
    const int at = int(info.indexOf(QLatin1String("Pages:")));
    return at < 0 ? -1 : info.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

// The text of one page, with runs of blanks made one blank.
inline QString pdfText(const QString &pdf, int page)
{
    const QString n = QString::number(page);
    return popplerRun(QStringLiteral("pdftotext"), {"-layout", "-f", n, "-l", n, pdf, "-"})
        .simplified();
}

inline int pdfImages(const QString &pdf)
{
    return int(popplerRun(QStringLiteral("pdfimages"), {"-list", pdf}).count(QLatin1Char('\n'))) -
           2;
}
