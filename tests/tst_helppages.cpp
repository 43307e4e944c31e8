// The help pages as the help window shows them: the start page through the window's search
// paths, every picture found by its bare file name, every local link leading to a page.
#include "app/mainwindow.h"
#include "portsfolder.h"

#include "programfolder.h"
#include <QTextBlock>
#include <QTextBrowser>

#include <QtTest>

namespace
{

const QString kHelpFolder = QStringLiteral(COLLATRIX_BIN_DIR "/Help");

struct PageParts {
    QStringList images;
    QStringList links;
};

PageParts partsOf(const QTextDocument *document)
{
    PageParts parts;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                parts.images << format.toImageFormat().name();
            if (format.isAnchor() && !format.anchorHref().isEmpty())
                parts.links << format.anchorHref();
        }
    }
    return parts;
}

} // namespace

class TestHelpPages : public QObject
{
    Q_OBJECT

private slots:
    void startPageThroughSearchPaths();
    void everyPageFindsItsPicturesAndLinks();

private:
    TestProgramFolder programFolder;
};

void TestHelpPages::startPageThroughSearchPaths()
{
    TestPortsFolder ports;
    MainWindow w;
    auto *browser = w.findChild<QTextBrowser *>(QStringLiteral("helpTBrowser"));
    QVERIFY(browser != nullptr);
    QCOMPARE(browser->searchPaths(),
             QStringList({kHelpFolder, kHelpFolder + QStringLiteral("//Images")}));
    QCOMPARE(browser->source(), QUrl(QStringLiteral("index.html")));
    QCOMPARE(browser->documentTitle(), QStringLiteral("Collatrix Help"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Troubleshooting on Linux")));
    // The logo and the main window's picture, both given by bare file name.
    const PageParts parts = partsOf(browser->document());
    QVERIFY(parts.images.contains(QStringLiteral("collatrix.png")));
    QVERIFY(parts.images.contains(QStringLiteral("main_window.png")));
    for (const QString &image : parts.images) {
        const QVariant picture =
            browser->document()->resource(QTextDocument::ImageResource, QUrl(image));
        QVERIFY2(picture.isValid() && !picture.value<QImage>().isNull(), qPrintable(image));
    }
}

void TestHelpPages::everyPageFindsItsPicturesAndLinks()
{
    const QStringList pages = QDir(kHelpFolder).entryList({QStringLiteral("*.html")}, QDir::Files);
    QVERIFY(pages.size() >= 8);
    QTextBrowser browser;
    browser.setSearchPaths({kHelpFolder, kHelpFolder + QStringLiteral("//Images")});
    int pictures = 0;
    for (const QString &page : pages) {
        browser.setSource(QUrl(page));
        QVERIFY2(!browser.documentTitle().isEmpty(), qPrintable(page));
        const PageParts parts = partsOf(browser.document());
        for (const QString &image : parts.images) {
            const QVariant picture =
                browser.document()->resource(QTextDocument::ImageResource, QUrl(image));
            QVERIFY2(!picture.value<QImage>().isNull() || !picture.value<QPixmap>().isNull(),
                     qPrintable(page + QStringLiteral(": ") + image));
            QVERIFY2(!image.contains(QLatin1Char('/')), qPrintable(image)); // found through Images
            ++pictures;
        }
        for (const QString &link : parts.links) {
            const QUrl url(link);
            if (!url.scheme().isEmpty())
                continue; // web addresses go to the system's browser
            QVERIFY2(QFile::exists(kHelpFolder + QLatin1Char('/') + url.path()),
                     qPrintable(page + QStringLiteral(" links to ") + link));
        }
    }
    QVERIFY(pictures >= 10);
    // The A-scan page shows the A-scan window's picture.
    browser.setSource(QUrl(QStringLiteral("ascan.html")));
    QVERIFY(partsOf(browser.document()).images.contains(QStringLiteral("ascan_window.png")));
}

QTEST_MAIN(TestHelpPages)
#include "tst_helppages.moc"
