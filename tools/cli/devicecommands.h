// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// collatrix-cli ports [--ports-dir DIR]
int runPortsCommand(const QStringList &args);
// collatrix-cli search-ports [LIST | all]
int runSearchPortsCommand(const QStringList &args);
// collatrix-cli find [--ports-dir DIR]
int runFindCommand(const QStringList &args);
// collatrix-cli download -o RESULTS.csv [--raw DUMP.bin] [--decimal-separator C] [--ports-dir DIR]
int runDownloadCommand(const QStringList &args);
