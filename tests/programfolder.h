#pragma once

#include "data/collatrix.h"

#include <QTemporaryDir>

// Gives every window a test builds a program folder of its own, so the Settings.ini files and
// data folders of tests that run side by side never meet.
class TestProgramFolder
{
public:
    TestProgramFolder() { CCollatrix::setDefaultProgramFolder(dir.path() + QLatin1Char('/')); }
    ~TestProgramFolder() { CCollatrix::setDefaultProgramFolder(QString()); }

private:
    QTemporaryDir dir;
};
