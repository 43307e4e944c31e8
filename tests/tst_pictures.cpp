#include "testfiles.h"
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <QtTest>

namespace
{

const QRgb kMagenta = qRgb(255, 0, 255);
const QRgb kGround = qRgb(161, 161, 161);

QString sourceFile(const QString &name)
{
    return QStringLiteral(COLLATRIX_RESOURCES "/") + name;
}

QImage load(const QString &name)
{
    QImage img(sourceFile(name));
    if (img.isNull())
        qFatal("cannot load %s", qPrintable(name));
    return img.convertToFormat(QImage::Format_ARGB32);
}

// Paths relative to resources/, which the resource list publishes as ":/<path>".
const QStringList kResourceFiles = {"Button/data_transf.bmp", "Button/data_transf_mask.bmp",
                                    "Button/save_file.bmp",   "Button/save_file_mask.bmp",
                                    "Button/ascan.bmp",       "Button/ascan_mask.bmp",
                                    "Button/help.bmp",        "Button/help_mask.bmp",
                                    "Button/about.bmp",       "Button/about_mask.bmp",
                                    "Image/background.bmp",   "Image/logo.bmp",
                                    "Image/orbex.ico"};

QMap<QString, QByteArray> readTree(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), fileBytes(path));
    }
    return files;
}

bool runGenerator(const QString &folder)
{
    QProcess p;
    p.start(QStringLiteral(COLLATRIX_BIN_DIR "/collatrix-drawpictures"), {folder});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void buttonMasks_data();
    void buttonMasks();
    void emblemPictures();
    void resourceListPublishesEveryFile();
    void generatorIsDeterministic();
};

void TestPictures::buttonMasks_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"data_transf", "save_file", "ascan", "help", "about"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestPictures::buttonMasks()
{
    QFETCH(QString, name);
    const QImage bitmap = load("Button/" + name + ".bmp");
    const QImage mask = load("Button/" + name + "_mask.bmp");
    QCOMPARE(bitmap.size(), QSize(42, 42));
    QCOMPARE(mask.size(), QSize(42, 42));
    int opaque = 0;
    for (int y = 0; y < 42; ++y) {
        for (int x = 0; x < 42; ++x) {
            const QRgb m = mask.pixel(x, y);
            const QRgb b = bitmap.pixel(x, y);
            QVERIFY2(m == qRgb(0, 0, 0) || m == qRgb(255, 255, 255),
                     qPrintable(QString("mask grey at %1,%2").arg(x).arg(y)));
            // Hidden pixels must be the magenta ground, shown ones must not be.
            const bool shown = m == qRgb(255, 255, 255);
            QVERIFY2((b == kMagenta) != shown,
                     qPrintable(QString("bitmap/mask disagree at %1,%2").arg(x).arg(y)));
            opaque += shown;
        }
    }
    // A real picture: neither an empty nor a full square.
    QVERIFY2(opaque > 42 * 42 / 5, qPrintable(QString::number(opaque)));
    QVERIFY2(opaque < 42 * 42 * 9 / 10, qPrintable(QString::number(opaque)));
}

void TestPictures::emblemPictures()
{
    const QImage background = load("Image/background.bmp");
    QCOMPARE(background.size(), QSize(288, 355));
    // Its rim is the label's own ground colour, so the picture has no visible edge.
    for (int x = 0; x < 288; ++x) {
        QCOMPARE(background.pixel(x, 0), kGround);
        QCOMPARE(background.pixel(x, 354), kGround);
    }
    QVERIFY(background.pixel(144, 150) != kGround || background.pixel(144, 305) != kGround);

    const QImage logo = load("Image/logo.bmp");
    QCOMPARE(logo.size(), QSize(210, 152));
    QCOMPARE(logo.pixel(0, 0), qRgb(255, 255, 255));
    QVERIFY(logo.pixel(105, 54) != qRgb(255, 255, 255));

    const QImage icon = load("Image/orbex.ico");
    QCOMPARE(icon.size(), QSize(128, 128));
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(icon.pixel(64, 64)), 255);
}

void TestPictures::resourceListPublishesEveryFile()
{
    for (const QString &file : kResourceFiles) {
        const QByteArray compiled = fileBytes(":/" + file);
        QVERIFY2(compiled == fileBytes(sourceFile(file)), qPrintable(file));
    }
    QStringList onDisk = readTree(COLLATRIX_RESOURCES).keys();
    onDisk.removeAll("resources.qrc");
    QStringList listed = kResourceFiles;
    listed.sort();
    QCOMPARE(onDisk, listed);
}

void TestPictures::generatorIsDeterministic()
{
    QTemporaryDir first, second;
    QVERIFY(runGenerator(first.path()));
    QVERIFY(runGenerator(second.path()));
    const QMap<QString, QByteArray> a = readTree(first.path());
    QStringList expected = kResourceFiles;
    expected.sort();
    QCOMPARE(a.keys(), expected);
    QVERIFY(a == readTree(second.path()));
}

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
