// The Russian catalogue: complete, in step with the sources, and followed by the windows; and
// the real program starting with either, both or neither translation file beside it.
#include "app/mainwindow.h"
#include "portsfolder.h"

#include <QAction>
#include <QProcess>
#include <QTextBrowser>
#include <QToolButton>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace
{

const QString kTsFile = QStringLiteral(COLLATRIX_SOURCE_DIR "/translations/collatrix_ru.ts");
const QString kQmFile = QStringLiteral(COLLATRIX_BIN_DIR "/translations/collatrix_ru.qm");
const QString kToolkitQm = QStringLiteral("/usr/share/qt6/translations/qtbase_ru.qm");

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type;
};

QList<Message> readTs(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message m;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            m = Message{context, {}, {}, {}};
        } else if (xml.name() == QLatin1String("source")) {
            m.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            m.type = xml.attributes().value(QLatin1String("type")).toString();
            m.translation = xml.readElementText();
            messages << m;
        }
    }
    return messages;
}

QStringList keys(const QList<Message> &messages)
{
    QStringList list;
    for (const Message &m : messages)
        list << m.context + QLatin1Char('|') + m.source;
    list.sort();
    return list;
}

QString lupdateProgram()
{
    return QStandardPaths::findExecutable(
        QStringLiteral("lupdate"),
        {QStringLiteral("/usr/lib/qt6/bin"), QStringLiteral("/usr/bin")});
}

// A program folder holding a copy of the program, its hidden serial ports and the chosen files.
bool stageProgram(const QTemporaryDir &dir, bool program, bool toolkit)
{
    const QString folder = dir.path();
    if (!QFile::copy(QStringLiteral(COLLATRIX_BIN_DIR "/collatrix"),
                     folder + QStringLiteral("/collatrix")))
        return false;
    QFile(folder + QStringLiteral("/collatrix"))
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir(folder).mkdir(QStringLiteral("ports"));
    for (int n = 1; n <= 128; ++n)
        QFile::link(folder + QStringLiteral("/absent"),
                    folder + QStringLiteral("/ports/COM%1").arg(n));
    if (program && !QFile::copy(kQmFile, folder + QStringLiteral("/collatrix.qm")))
        return false;
    return !toolkit || QFile::copy(kToolkitQm, folder + QStringLiteral("/qt_ru.qm"));
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void everyTextTranslated();
    void catalogueFollowsTheSources();
    void windowsFollowTheTranslation();
    void programStartsWithEitherFile_data();
    void programStartsWithEitherFile();
};

void TestTranslation::everyTextTranslated()
{
    const QList<Message> messages = readTs(kTsFile);
    QVERIFY(messages.size() >= 50);
    QSet<QString> contexts;
    for (const Message &m : messages) {
        contexts << m.context;
        const QString what = m.context + QStringLiteral(": ") + m.source.left(60);
        QVERIFY2(m.type.isEmpty(), qPrintable(what + QStringLiteral(" is ") + m.type));
        QVERIFY2(!m.translation.isEmpty(), qPrintable(what));
    }
    const QSet<QString> all{"MainWindowGUI",  "AboutWindowGUI",    "HelpWindowGUI",
                            "ascanWindowGUI", "ProgressWindowGUI", "MainWindow",
                            "CCollatrix",     "QVectorDrawFrame"};
    QCOMPARE(contexts, all);
    // The about page's placeholder is replaced after translation, so it must survive it; the
    // start page named by the translation must exist.
    for (const Message &m : messages) {
        if (m.source.contains(QLatin1String("Program name and version")))
            QVERIFY(m.translation.contains(QLatin1String("Program name and version")));
        if (m.source == QLatin1String("index.html"))
            QVERIFY(QFile::exists(QStringLiteral(COLLATRIX_SOURCE_DIR "/Help/") + m.translation));
    }
}

void TestTranslation::catalogueFollowsTheSources()
{
    const QString lupdate = lupdateProgram();
    if (lupdate.isEmpty())
        QSKIP("lupdate is not installed (qt6-l10n-tools)");
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("collatrix_ru.ts"));
    QVERIFY(QFile::copy(kTsFile, copy));
    QFile(copy).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QProcess run;
    run.setWorkingDirectory(QStringLiteral(COLLATRIX_SOURCE_DIR));
    run.start(lupdate, {"app", "forms", "data", "ascan", "device", "-ts", copy, "-locations",
                        "none", "-no-obsolete"});
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 0);
    const QList<Message> fresh = readTs(copy);
    for (const Message &m : fresh)
        QVERIFY2(m.type.isEmpty(), qPrintable(QStringLiteral("not in the catalogue: ") + m.context +
                                              QStringLiteral(": ") + m.source));
    QCOMPARE(keys(fresh), keys(readTs(kTsFile))); // nothing new, nothing gone
}

void TestTranslation::windowsFollowTheTranslation()
{
    TestPortsFolder ports;
    QTranslator russian;
    QVERIFY(russian.load(kQmFile));
    QVERIFY(QCoreApplication::installTranslator(&russian));
    {
        MainWindow w;
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("AboutWindowGUI"))->windowTitle(),
                 QStringLiteral("О программе Collatrix M47T"));
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("HelpWindowGUI"))->windowTitle(),
                 QStringLiteral("Справка Collatrix M47T"));
        QCOMPARE(w.findChild<QToolButton *>(QStringLiteral("trnsfrDataButton"))->toolTip(),
                 QStringLiteral("Передать данные из прибора"));
        QCOMPARE(w.findChild<QToolButton *>(QStringLiteral("saveAsButton"))->toolTip(),
                 QStringLiteral("Сохранить данные в файл .csv"));
        QCOMPARE(w.findChild<QToolButton *>(QStringLiteral("ascanButton"))->toolTip(),
                 QStringLiteral("Показать А-скан"));
        QCOMPARE(w.findChild<QToolButton *>(QStringLiteral("helpButton"))->toolTip(),
                 QStringLiteral("Открыть справку"));
        QCOMPARE(w.findChild<QToolButton *>(QStringLiteral("aboutButton"))->toolTip(),
                 QStringLiteral("О программе Collatrix"));
        auto *help = w.findChild<QTextBrowser *>(QStringLiteral("helpTBrowser"));
        QCOMPARE(help->source(), QUrl(QStringLiteral("index_ru.html")));
        QCOMPARE(help->documentTitle(), QStringLiteral("Справка Collatrix"));
        QStringList actions;
        for (const QAction *action : w.findChildren<QAction *>(Qt::FindDirectChildrenOnly))
            actions << action->text();
        QVERIFY(actions.contains(QStringLiteral("Сохранить выделенные строки")));
        // The title and version stay as they are; the rest of the about page is translated.
        const QString about =
            w.findChild<QTextBrowser *>(QStringLiteral("aboutTBrowser"))->toPlainText();
        QVERIFY(about.contains(QStringLiteral("Collatrix M47T 4.2")));
        QVERIFY(about.contains(QStringLiteral("Разработка и производство.")));
    }
    QCoreApplication::removeTranslator(&russian);
    MainWindow english;
    QCOMPARE(english.findChild<QTextBrowser *>(QStringLiteral("helpTBrowser"))->source(),
             QUrl(QStringLiteral("index.html")));
    QCOMPARE(english.findChild<QToolButton *>(QStringLiteral("trnsfrDataButton"))->toolTip(),
             QStringLiteral("Transfer data from the device"));

    if (!QFile::exists(kToolkitQm))
        QSKIP("qt6-translations-l10n is not installed");
    QTranslator toolkit;
    QVERIFY(toolkit.load(kToolkitQm));
    QCOMPARE(toolkit.translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
}

void TestTranslation::programStartsWithEitherFile_data()
{
    QTest::addColumn<bool>("program");
    QTest::addColumn<bool>("toolkit");
    QTest::newRow("neither") << false << false;
    QTest::newRow("collatrix.qm") << true << false;
    QTest::newRow("qt_ru.qm") << false << true;
    QTest::newRow("both") << true << true;
}

void TestTranslation::programStartsWithEitherFile()
{
    QFETCH(bool, program);
    QFETCH(bool, toolkit);
    if (toolkit && !QFile::exists(kToolkitQm))
        QSKIP("qt6-translations-l10n is not installed");
    QTemporaryDir dir;
    QVERIFY(stageProgram(dir, program, toolkit));
    QProcess collatrix;
    collatrix.setWorkingDirectory(QDir::tempPath());
    collatrix.start(dir.filePath(QStringLiteral("collatrix")), {});
    QVERIFY(collatrix.waitForStarted(5000));
    QVERIFY2(!collatrix.waitForFinished(1000), collatrix.readAllStandardError().constData());
    collatrix.terminate();
    QVERIFY(collatrix.waitForFinished(5000));
}

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
