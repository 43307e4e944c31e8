// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>

// Everything the command line of collatrix-tester sets.
struct TesterOptions {
    int port = 3;
    QString portsDir;
    QString dumpFile;
    int layout = 2;
    int groups = 4;
    int cells = 10;
    std::uint64_t seed = 1;
    // A survey's readings instead of a generated data set, and when they were saved.
    QString readingsFile;
    QDateTime taken;
    QString writeDump;
    double rate = 3840.0;
    // 0 sends each reply in one burst.
    double replyRate = 0.0;
    // Fault modes.
    bool silent = false;
    bool nonExtended = false;
    qint64 pauseAfter = -1;
    int garbage = 0;
    int noise = 0;
    double tailPause = 0.0;
    QSet<QString> cutReplies;
    qint64 vanishAfter = -1;
    bool help = false;
};

extern const char kTesterUsage[];

// Reads the arguments (without the program name). False with a message on a bad option.
bool parseTesterOptions(const QStringList &args, TesterOptions *options, QString *error);
