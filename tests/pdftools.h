// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
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

// A word of a page and its box in points, as pdftotext -bbox finds them.
struct PdfWord {
    QString text;
    QRectF box;
};

inline QList<PdfWord> pdfWords(const QString &pdf, int page)
{
    const QString n = QString::number(page);
    static const QRegularExpression word(
        R"-(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<)-");
    QList<PdfWord> words;
    for (const auto &m :
         word.globalMatch(popplerRun("pdftotext", {"-bbox", "-f", n, "-l", n, pdf, "-"}))) {
        const auto at = [&m](int i) { return m.captured(i).toDouble(); };
        words << PdfWord{m.captured(5), QRectF(QPointF(at(1), at(2)), QPointF(at(3), at(4)))};
    }
    return words;
}

// Two words whose boxes overlap by more than pdftotext's rounding, "" when none do. The margin
// right of the page number, the page's last word, counts as a word too.
inline QString pdfClash(QList<PdfWord> words)
{
    std::pair<double, double> last(0, 0);
    for (const PdfWord &w : words)
        last = std::max(last, std::pair(w.box.bottom(), w.box.right()));
    words << PdfWord{QStringLiteral("the right margin"), QRectF(last.second, 0, 1e6, 1e6)};
    for (int i = 0; i < words.size(); ++i)
        for (int j = i + 1; j < words.size(); ++j) {
            if (words.at(i).box.adjusted(0.1, 0.1, -0.1, -0.1).intersects(words.at(j).box))
                return words.at(i).text + QLatin1String(" / ") + words.at(j).text;
        }
    return QString();
}

// The page's lines from top to bottom, each its words from left to right between blanks.
inline QString pdfRows(const QList<PdfWord> &words)
{
    QMap<int, QMap<double, QString>> rows;
    for (const PdfWord &w : words)
        rows[qRound(w.box.bottom() * 10)].insert(w.box.left(), w.text);
    QString text;
    for (const auto &row : rows)
        text += QLatin1Char(' ') + row.values().join(QLatin1Char(' ')) + QLatin1String(" \n");
    return text;
}
