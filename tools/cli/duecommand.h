// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// collatrix-cli due [--within DAYS] [-o DUE.csv] [--ics DUE.ics] [--archive URL]: what falls due
// across every object with limits, soonest first, as CSV, and as a calendar file.
int runDueCommand(const QStringList &args);
