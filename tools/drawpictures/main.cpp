// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-drawpictures: draws the program's button icons, background, logo and window icon
// into resources/ (see scripts/draw-pictures.sh).
#include "buttonpictures.h"
#include "emblempictures.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Text is drawn as outlines; no window system is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fputs("Usage: collatrix-drawpictures FOLDER\n"
                   "Writes FOLDER/Button/*.bmp and FOLDER/Image/{background.bmp,logo.bmp,"
                   "orbex.ico}.\n",
                   stderr);
        return 2;
    }
    const QString folder = args.at(1);
    const bool ok = buttonpictures::writeAll(folder + QLatin1String("/Button")) &&
                    emblempictures::writeAll(folder + QLatin1String("/Image"));
    if (!ok)
        std::fputs("collatrix-drawpictures: could not write every picture\n", stderr);
    return ok ? 0 : 1;
}
