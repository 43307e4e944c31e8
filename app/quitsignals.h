// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

// Ends the event loop on SIGTERM, SIGINT and SIGHUP instead of dying at once, so that a program
// stopped by the session, a terminal or kill still closes its windows and writes its settings.
void quitOnTerminationSignals(QCoreApplication &app);
