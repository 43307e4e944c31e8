// SPDX-License-Identifier: GPL-3.0-or-later
#include "testfiles.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

class TestPictures : public QObject
{
    Q_OBJECT
    QTemporaryDir drawn;

private slots:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute(COLLATRIX_BIN_DIR "/collatrix-drawpictures", {drawn.path()}), 0);
    }
    // The program holds each committed picture unchanged, under its own name.
    void compiledInUnchanged()
    {
        for (const QString folder : {"/Button/", "/Image/"})
            for (const QString &name : QDir(":" + folder).entryList(QDir::Files))
                QCOMPARE(qMakePair(name, fileBytes(":" + folder + name)),
                         qMakePair(name, fileBytes(COLLATRIX_RESOURCES + folder + name)));
    }
    // The pictures the program holds, and those the generator draws now.
    void pictures()
    {
        for (const QString &folder : {QStringLiteral(":"), drawn.path()}) {
            const auto load = [&](const QString &file) { return QImage(folder + "/" + file); };
            for (const char *name : {"data_transf", "save_file", "ascan", "help", "about",
                                     "archive", "evaluation", "due"}) {
                const QImage bitmap = load(QString("Button/%1.bmp").arg(name));
                const QImage mask = load(QString("Button/%1_mask.bmp").arg(name));
                QVERIFY(bitmap.size() == QSize(42, 42) && mask.size() == QSize(42, 42));
                int shown = 0;
                for (int i = 0; i < 42 * 42; ++i) {
                    // The window turns the mask into alpha: black hides the magenta ground.
                    const bool ground = bitmap.pixel(i % 42, i / 42) == qRgb(255, 0, 255);
                    QVERIFY2(mask.pixel(i % 42, i / 42) == (ground ? 0xff000000 : 0xffffffff),
                             qPrintable(folder + " " + name));
                    shown += !ground;
                }
                // A picture, neither an empty nor a full square.
                QVERIFY2(shown > 42 * 42 / 5 && shown < 42 * 42 * 9 / 10, name);
            }
            // The background's rim has the window's ground colour, so the picture shows no edge.
            const QImage background = load("Image/background.bmp");
            QCOMPARE(background.size(), QSize(288, 355));
            for (int x = 0; x < 288; ++x)
                QVERIFY(qGray(background.pixel(x, 0)) == 161 &&
                        qGray(background.pixel(x, 354)) == 161);
            // A round badge on a transparent square.
            const QImage icon = load("Image/orbex.ico");
            QCOMPARE(icon.size(), QSize(128, 128));
            QVERIFY(qAlpha(icon.pixel(0, 0)) == 0 && qAlpha(icon.pixel(64, 64)) == 255);
        }
    }
};

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
