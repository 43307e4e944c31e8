// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/collatrix.h"

#include <QTemporaryDir>

// Gives every window a test builds a program folder of its own, so the Settings.ini files, data
// folders and kept downloads of tests that run side by side never meet.
class TestProgramFolder
{
public:
    TestProgramFolder()
    {
        CCollatrix::setDefaultProgramFolder(dir.path() + QLatin1Char('/'));
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data-home")).toLocal8Bit());
    }
    ~TestProgramFolder() { CCollatrix::setDefaultProgramFolder(QString()); }

    QString path() const { return dir.path(); }

private:
    QTemporaryDir dir;
};
