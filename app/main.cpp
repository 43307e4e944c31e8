// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#ifndef Q_OS_WIN
#include "app/quitsignals.h"
#endif

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString filePath = QCoreApplication::applicationFilePath();
    const QString programFolder = filePath.left(filePath.lastIndexOf(QLatin1Char('/')));
    // Both translators go in before any widget exists; a missing file leaves one empty.
    QTranslator toolkitTranslator;
    (void)toolkitTranslator.load(programFolder + QStringLiteral("/qt_ru.qm"));
    QCoreApplication::installTranslator(&toolkitTranslator);
    QTranslator programTranslator;
    (void)programTranslator.load(programFolder + QStringLiteral("/collatrix.qm"));
    QCoreApplication::installTranslator(&programTranslator);
    int result = 0;
    {
        MainWindow window;
        window.show();
        window.openArchive();
        // collatrix FILE: a kept download or a dump, as a file manager hands it over.
        const QString file = QCoreApplication::arguments().value(1);
        if (!file.isEmpty())
            window.openDownload(file);
#ifndef Q_OS_WIN
        // Last before the event loop: a signal caught from here on finds a whole window to close.
        quitOnTerminationSignals(app);
#endif
        result = app.exec();
    }
    return result;
}
