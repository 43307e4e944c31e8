// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/atomicfile.h"

#include <QChar>
#include <QMap>
#include <QSet>
#include <QStringList>

class CZRData;

// Exit statuses of collatrix-cli.
enum CliStatus {
    CliOk = 0,
    CliFailed = 1,        // nothing decodable, or the output cannot be written
    CliUsage = 2,         // bad arguments or an unreadable input file
    CliNoTester = 3,      // no tester answered on any serial port
    CliIncomplete = 4,    // the stream stopped before the announced size; what came is written
    CliNoMeasurements = 5 // the device holds no measurement in groups 1 to 256
};

// The arguments of one command: positional words, options with a value, and flags.
class CCliOptions
{
public:
    // False (after naming the fault on standard error) for an unknown option, a missing value or
    // more positional words than the command takes.
    bool parse(const QStringList &args, const QSet<QString> &valueOptions,
               const QSet<QString> &flagOptions, int maxPositional);

    QStringList positional;
    QMap<QString, QString> values;
    // Every value of an option given more than once, in order.
    QMap<QString, QStringList> allValues;
    QSet<QString> flags;

    // FILE [--extended] [--decimal-separator C] [-o OUT] and the command's own options with a
    // value; false after naming the fault.
    bool parseFileCommand(const QStringList &args, QChar *separator,
                          const QSet<QString> &moreValues = {});
    // The bytes of FILE; false after naming the fault.
    bool readInput(QByteArray *bytes) const;
    bool extended() const { return flags.contains(QStringLiteral("--extended")); }

    // --decimal-separator C, or the system's decimal point; false when C is not one character.
    bool decimalSeparator(QChar *separator) const;
    // --ports-dir DIR points the serial layer at another ports folder.
    void applyPortsFolder() const;
};

void printError(const QString &text);

// Writes a file whole, or standard output when the path is empty; false after naming the file
// and the reason on standard error.
bool writeOutput(const QString &path, const CAtomicFile::Writer &writer);
// Writes the results as CSV to the file, or to standard output when the path is empty.
bool writeResults(const QString &path, const CZRData &data, QChar decimalSeparator);
