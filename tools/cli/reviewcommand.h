// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// collatrix-cli review [--archive URL]: every reading that is suspect or decided, oldest first;
// review verify|reject GROUP CELL TIME --reason TEXT [--archive URL] decides one.
int runReviewCommand(const QStringList &args);
