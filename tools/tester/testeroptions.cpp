// SPDX-License-Identifier: GPL-3.0-or-later
#include "testeroptions.h"

#include <QCommandLineParser>

const char kTesterUsage[] =
    "Usage: collatrix-tester [OPTIONS]\n"
    "\n"
    "Simulates the handheld ultrasonic tester on a pseudo-terminal linked as\n"
    "ports/COMn, so the program finds it, downloads its memory and fetches\n"
    "A-scans without hardware. One line per exchange goes to standard output.\n"
    "Ctrl-C or SIGTERM ends it and removes the link.\n"
    "\n"
    "Port:\n"
    "  --port N            link the terminal as COMN (default 3)\n"
    "  --ports-dir DIR     folder of the links (default: ports/ beside this\n"
    "                      program, created if missing; when that folder cannot\n"
    "                      be written, $XDG_RUNTIME_DIR/collatrix/ports/)\n"
    "\n"
    "Memory (a generated data set unless --readings or --dump is given):\n"
    "  --layout 1|2|3      1: velocities and times in 257-byte blocks,\n"
    "                      2: thickness readings in 256-byte blocks (default),\n"
    "                      3: thickness readings with A-scans (extended device);\n"
    "                      layouts 1 and 2 stream for dump command 0x06 only,\n"
    "                      layout 3 for 0x09 only\n"
    "  --groups G          groups (default 4)\n"
    "  --cells C           readings in each group (default 10)\n"
    "  --seed S            the data set and its A-scans are the same for a seed\n"
    "                      (default 1)\n"
    "  --readings FILE     hold exactly the readings of FILE instead, in its order,\n"
    "                      a line group;cell;thickness in mm each (e.g. 1;3;11.42),\n"
    "                      fine millimetres, each with its A-scan in layout 3\n"
    "  --taken TIME        the time the readings were saved (e.g.\n"
    "                      2024-05-14T09:30:00), kept in every 32-byte record as\n"
    "                      the year after 2000, month, day, hour, minute, second\n"
    "                      (bytes 16-21, which the host does not read); layout 3\n"
    "  --dump FILE         serve a raw dump file instead; a layout-1 header is\n"
    "                      recognised, otherwise --layout 3 says the file holds\n"
    "                      32-byte records (default: layout 2)\n"
    "  --write-dump FILE   write the memory to FILE and exit without linking\n"
    "\n"
    "Line:\n"
    "  --rate B            dump speed in bytes per second (default 3840, which is\n"
    "                      38400 baud); the host takes in at most 4096 B/s anyway\n"
    "  --reply-rate B      write the identify, extended and ascan replies at B\n"
    "                      bytes per second in pieces of at most 64 bytes, as a\n"
    "                      USB adapter does (default: each reply in one burst);\n"
    "                      3840 is a 38400-baud line\n"
    "\n"
    "Fault modes:\n"
    "  --silent            answer nothing at all\n"
    "  --non-extended      never answer the extended probe, whatever the layout\n"
    "  --pause-after N     stop the dump after N bytes and stay silent; the host\n"
    "                      reports incomplete data\n"
    "  --garbage N         send N bytes that are no dump header first, wait 700 ms\n"
    "                      (the host drops them as its first chunk), then the dump\n"
    "  --noise N           the same with a short burst of line noise: N stray bytes\n"
    "                      (1 to 64) such as 0x00, 0xFF, 0xF0, 0x80, never an 'O'\n"
    "  --tail-pause T      once the bytes that bring the host's progress to 100 %\n"
    "                      are written, wait T seconds (e.g. 0.3), then send the\n"
    "                      rest of the dump\n"
    "  --cut-reply WHAT    cut the identify, extended or ascan reply one byte short;\n"
    "                      may be repeated or given as a comma-separated list\n"
    "  --vanish-after N    once the host has read N dump bytes remove the link,\n"
    "                      close the terminal and exit, like a cable pulled\n"
    "                      mid-transfer\n"
    "\n"
    "  -h, --help          show this text\n"
    "\n"
    "Examples:\n"
    "  collatrix-tester --layout 3 --groups 4 --cells 10\n"
    "  collatrix-tester --port 7 --layout 1 --seed 42\n"
    "  collatrix-tester --dump results.bin --layout 3 --pause-after 3000\n"
    "  collatrix-tester --layout 3 --write-dump memory.bin\n"
    "  collatrix-tester --layout 3 --readings survey.txt --taken 2024-05-14T09:30\n"
    "  collatrix-tester --layout 3 --reply-rate 3840 --noise 4 --tail-pause 0.3\n"
    "\n"
    "Exit status: 0 ended normally, 1 the terminal or a file failed, 2 bad options\n"
    "or the port is already linked by a running tester.\n";

namespace
{

// Reads an integer option into *out when it was given; false when it is no number in range.
bool readInt(const QCommandLineParser &p, const char *name, qint64 low, qint64 high, qint64 *out,
             QString *error)
{
    const QString option = QLatin1String(name);
    if (!p.isSet(option))
        return true;
    bool ok = false;
    const qint64 v = p.value(option).toLongLong(&ok);
    if (!ok || v < low || v > high) {
        *error = QStringLiteral("--%1 needs a whole number from %2 to %3")
                     .arg(option)
                     .arg(low)
                     .arg(high);
        return false;
    }
    *out = v;
    return true;
}

template <typename T>
bool readInto(const QCommandLineParser &p, const char *name, qint64 low, qint64 high, T *out,
              QString *error)
{
    qint64 v = qint64(*out);
    if (!readInt(p, name, low, high, &v, error))
        return false;
    *out = T(v);
    return true;
}

bool readCutReplies(const QCommandLineParser &p, TesterOptions *o, QString *error)
{
    static const QSet<QString> known = {QStringLiteral("identify"), QStringLiteral("extended"),
                                        QStringLiteral("ascan")};
    for (const QString &value : p.values(QStringLiteral("cut-reply"))) {
        for (const QString &what : value.split(QLatin1Char(','))) {
            if (!known.contains(what)) {
                *error = QStringLiteral("--cut-reply takes identify, extended or ascan, not '%1'")
                             .arg(what);
                return false;
            }
            o->cutReplies.insert(what);
        }
    }
    return true;
}

// Reads a decimal option into *out when it was given; false when it is no number in range.
bool readReal(const QCommandLineParser &p, const char *name, double low, double high, double *out,
              QString *error)
{
    const QString option = QLatin1String(name);
    if (!p.isSet(option))
        return true;
    bool ok = false;
    const double v = p.value(option).toDouble(&ok);
    if (!ok || !(v >= low && v <= high)) {
        *error = QStringLiteral("--%1 needs a number from %2 to %3")
                     .arg(option, QString::number(low, 'g', 10), QString::number(high, 'g', 10));
        return false;
    }
    *out = v;
    return true;
}

// The memory's own options: a survey's readings and their time make a memory, a dump file is one.
bool readSurvey(const QCommandLineParser &p, TesterOptions *o, QString *error)
{
    o->readingsFile = p.value(QStringLiteral("readings"));
    const QString taken = p.value(QStringLiteral("taken"));
    o->taken = QDateTime::fromString(taken, Qt::ISODate);
    if (!taken.isEmpty() &&
        (!o->taken.isValid() || o->taken.date().year() < 2000 || o->taken.date().year() > 2255)) {
        *error = QStringLiteral("--taken needs a time from 2000 to 2255 such as "
                                "2024-05-14T09:30:00, not '%1'")
                     .arg(taken);
        return false;
    }
    if (!o->dumpFile.isEmpty() && (!o->readingsFile.isEmpty() || !taken.isEmpty())) {
        *error = QStringLiteral("--readings and --taken make a memory; a --dump file is one");
        return false;
    }
    if (!taken.isEmpty() && o->layout != 3) {
        *error = QStringLiteral("--taken needs --layout 3: only its 32-byte records keep a time");
        return false;
    }
    return true;
}

void addOptions(QCommandLineParser &p)
{
    for (const char *valued :
         {"port", "ports-dir", "dump", "layout", "groups", "cells", "seed", "readings", "taken",
          "write-dump", "rate", "reply-rate", "pause-after", "garbage", "noise", "tail-pause",
          "cut-reply", "vanish-after"})
        p.addOption(QCommandLineOption(QLatin1String(valued), QString(), QStringLiteral("value")));
    for (const char *flag : {"silent", "non-extended"})
        p.addOption(QCommandLineOption(QLatin1String(flag)));
    p.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
}

} // namespace

bool parseTesterOptions(const QStringList &args, TesterOptions *o, QString *error)
{
    QCommandLineParser p;
    addOptions(p);
    if (!p.parse(QStringList{QStringLiteral("collatrix-tester")} + args)) {
        *error = p.errorText();
        return false;
    }
    if (!p.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first());
        return false;
    }
    o->help = p.isSet(QStringLiteral("help"));
    o->portsDir = p.value(QStringLiteral("ports-dir"));
    o->dumpFile = p.value(QStringLiteral("dump"));
    o->writeDump = p.value(QStringLiteral("write-dump"));
    o->silent = p.isSet(QStringLiteral("silent"));
    o->nonExtended = p.isSet(QStringLiteral("non-extended"));
    const qint64 big = 1ll << 40;
    return readInto(p, "port", 1, 499, &o->port, error) &&
           readInto(p, "layout", 1, 3, &o->layout, error) &&
           readInto(p, "groups", 1, 256, &o->groups, error) &&
           readInto(p, "cells", 1, 65535, &o->cells, error) &&
           readInto(p, "seed", 0, big, &o->seed, error) &&
           readInto(p, "pause-after", 0, big, &o->pauseAfter, error) &&
           readInto(p, "garbage", 1, 2048, &o->garbage, error) &&
           readInto(p, "noise", 1, 64, &o->noise, error) &&
           readInto(p, "vanish-after", 0, big, &o->vanishAfter, error) &&
           readReal(p, "rate", 1.0, 1e7, &o->rate, error) &&
           readReal(p, "reply-rate", 1.0, 1e7, &o->replyRate, error) &&
           readReal(p, "tail-pause", 0.0, 3600.0, &o->tailPause, error) &&
           readCutReplies(p, o, error) && readSurvey(p, o, error);
}
