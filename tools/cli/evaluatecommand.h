// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// collatrix-cli evaluate [FILE] [--archive URL] [-o EVALUATION.csv] [--decimal-separator C]
//     [--extended]
int runEvaluateCommand(const QStringList &args);
