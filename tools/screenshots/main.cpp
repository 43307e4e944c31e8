// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-screenshots OUTPUT_FOLDER [TESTER_PROGRAM]: the pictures of the help pages, taken
// from the real program against the simulated tester. Run it with QT_QPA_PLATFORM=offscreen.
#include "screenshotsession.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() < 2 || args.size() > 3) {
        err << "usage: collatrix-screenshots OUTPUT_FOLDER [TESTER_PROGRAM]\n";
        return 2;
    }
    const QString tester = args.size() == 3 ? args.at(2)
                                            : QCoreApplication::applicationDirPath() +
                                                  QStringLiteral("/collatrix-tester");
    CScreenshotSession session(args.at(1), tester);
    QString error;
    if (!session.run(&error)) {
        err << "collatrix-screenshots: " << error << '\n';
        return 1;
    }
    return 0;
}
