// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures built around the program's emblem (a transducer sending wave arcs): the main
// window background, the About page logo and the window icon.
#pragma once

#include <QImage>
#include <QString>

namespace emblempictures
{

// 288 x 355, grey emblem embossed into the rgb(161,161,161) ground of the main window.
QImage background();

// 210 x 152, blue badge and wordmark on white for the About page.
QImage logo();

// 128 x 128, the blue badge on a transparent ground.
QImage windowIcon();

// Writes background.bmp, logo.bmp and orbex.ico into the folder.
bool writeAll(const QString &folder);

} // namespace emblempictures
