// SPDX-License-Identifier: GPL-3.0-or-later
#include "clioptions.h"

#include "device/comport.h"
#include "format/csvwriter.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <cstdio>

void printError(const QString &text)
{
    std::fprintf(stderr, "collatrix-cli: %s\n", qPrintable(text));
}

namespace
{

// "--ports-dir" and "-o" are the parser's "ports-dir" and "o".
QString bare(const QString &option)
{
    return option.mid(option.startsWith(QLatin1String("--")) ? 2 : 1);
}

} // namespace

bool CCliOptions::parse(const QStringList &args, const QSet<QString> &valueOptions,
                        const QSet<QString> &flagOptions, int maxPositional)
{
    QCommandLineParser parser;
    for (const QString &option : valueOptions)
        parser.addOption(QCommandLineOption(bare(option), QString(), QStringLiteral("value")));
    for (const QString &option : flagOptions)
        parser.addOption(QCommandLineOption(bare(option)));
    if (!parser.parse(QStringList{QStringLiteral("collatrix-cli")} + args)) {
        printError(parser.errorText());
        return false;
    }
    positional = parser.positionalArguments();
    if (positional.size() > maxPositional) {
        printError(QStringLiteral("unexpected argument '%1'").arg(positional.at(maxPositional)));
        return false;
    }
    for (const QString &option : valueOptions) {
        if (parser.isSet(bare(option))) {
            values.insert(option, parser.value(bare(option)));
            allValues.insert(option, parser.values(bare(option)));
        }
    }
    for (const QString &option : flagOptions) {
        if (parser.isSet(bare(option)))
            flags.insert(option);
    }
    return true;
}

bool CCliOptions::parseFileCommand(const QStringList &args, QChar *separator,
                                   const QSet<QString> &moreValues)
{
    return parse(args,
                 moreValues +
                     QSet<QString>{QStringLiteral("--decimal-separator"), QStringLiteral("-o")},
                 {QStringLiteral("--extended")}, 1) &&
           decimalSeparator(separator);
}

bool CCliOptions::readInput(QByteArray *bytes) const
{
    if (positional.isEmpty()) {
        printError(QStringLiteral("the command needs a file"));
        return false;
    }
    QFile in(positional.first());
    if (!in.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(in.fileName(), in.errorString()));
        return false;
    }
    *bytes = in.readAll();
    return true;
}

bool CCliOptions::decimalSeparator(QChar *separator) const
{
    const QString text =
        values.value(QStringLiteral("--decimal-separator"), QLocale::system().decimalPoint());
    if (text.size() != 1) {
        printError(QStringLiteral("the decimal separator must be one character"));
        return false;
    }
    *separator = text.at(0);
    return true;
}

void CCliOptions::applyPortsFolder() const
{
    const QString folder = values.value(QStringLiteral("--ports-dir"));
    if (!folder.isEmpty())
        CCOMPort::setPortsFolder(folder);
}

namespace
{

// Standard output cannot be replaced as a whole; a failed write is told all the same.
bool writeStandardOutput(const CAtomicFile::Writer &writer, QString *problem)
{
    QFile out;
    if (out.open(stdout, QIODevice::WriteOnly) && writer(out) && out.flush())
        return true;
    *problem = out.errorString();
    return false;
}

} // namespace

bool writeOutput(const QString &path, const CAtomicFile::Writer &writer)
{
    QString problem;
    if (path.isEmpty() ? writeStandardOutput(writer, &problem)
                       : CAtomicFile::write(path, writer, &problem))
        return true;
    printError(QStringLiteral("cannot write %1: %2")
                   .arg(path.isEmpty() ? QStringLiteral("standard output")
                                       : QDir::toNativeSeparators(path),
                        problem));
    return false;
}

bool writeResults(const QString &path, const CZRData &data, QChar decimalSeparator)
{
    CCsvWriter writer;
    writer.decimalSeparator = decimalSeparator;
    return writeOutput(
        path, [&](QIODevice &out) { return writer.write(out, data, CCsvWriter::allRows(data)); });
}
