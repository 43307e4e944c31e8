// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-screenshots OUTPUT_FOLDER DEMO_FOLDER [TESTER_PROGRAM]: the pictures of the help
// pages, taken from the real program against the simulated tester and the demonstration archive
// that scripts/demo-archive.sh built in DEMO_FOLDER (its demo.env sourced before). Run it with
// QT_QPA_PLATFORM=offscreen.
#include "screenshotsession.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() < 3 || args.size() > 4) {
        err << "usage: collatrix-screenshots OUTPUT_FOLDER DEMO_FOLDER [TESTER_PROGRAM]\n";
        return 2;
    }
    const QString tester = args.size() == 4 ? args.at(3)
                                            : QCoreApplication::applicationDirPath() +
                                                  QStringLiteral("/collatrix-tester");
    CScreenshotSession session(args.at(1), args.at(2), tester);
    QString error;
    if (!session.run(&error)) {
        err << "collatrix-screenshots: " << error << '\n';
        return 1;
    }
    return 0;
}
