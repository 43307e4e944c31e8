// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CReportCanvas;
class CReportSection;
class QIODevice;
class QPainter;
class QPdfWriter;

// A PDF of the program's: A4 pages of sections one after the other, every page with its footer
// (the program and its version, the page's number of all). Text is written as text, so a reader
// can search and copy it.
class CReportDocument
{
    Q_DECLARE_TR_FUNCTIONS(CReportDocument)

public:
    using Sections = std::vector<std::unique_ptr<CReportSection>>;
    // The sections lay their tables out on the canvas's page as they are made.
    using Make = std::function<Sections(const CReportCanvas &canvas)>;

    CReportDocument(const QString &title, const QString &version, const Make &make);

    // The file appears only when every page is done; false with the reason in *problem.
    bool write(const QString &path, QString *problem) const;
    int pageCount() const;

private:
    bool writePages(QIODevice &out) const;
    void setUp(QPdfWriter &pdf) const;
    static int pagesOf(const Sections &all, const CReportCanvas &canvas);
    void drawFooter(QPainter &painter, const CReportCanvas &canvas, int page, int pages) const;

    QString title;
    QString version;
    Make make;
    QFont body;
};
