#include "clioptions.h"

#include "data/csvwriter.h"
#include "device/comport.h"

#include <QFile>
#include <QLocale>
#include <cstdio>

void printError(const QString &text)
{
    std::fprintf(stderr, "collatrix-cli: %s\n", qPrintable(text));
}

bool CCliOptions::parse(const QStringList &args, const QSet<QString> &valueOptions,
                        const QSet<QString> &flagOptions, int maxPositional)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (valueOptions.contains(a) && i + 1 < args.size()) {
            values.insert(a, args.at(++i));
        } else if (flagOptions.contains(a)) {
            flags.insert(a);
        } else if (!a.startsWith(QLatin1Char('-')) && positional.size() < maxPositional) {
            positional.append(a);
        } else {
            printError(valueOptions.contains(a)
                           ? QStringLiteral("%1 needs a value").arg(a)
                           : QStringLiteral("unexpected argument '%1'").arg(a));
            return false;
        }
    }
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

bool writeResults(const QString &path, const CZRData &data, QChar decimalSeparator)
{
    QFile out;
    const bool opened = path.isEmpty() ? out.open(stdout, QIODevice::WriteOnly)
                                       : (out.setFileName(path), out.open(QIODevice::WriteOnly));
    if (!opened) {
        printError(QStringLiteral("cannot write %1: %2").arg(path, out.errorString()));
        return false;
    }
    CCsvWriter writer;
    writer.decimalSeparator = decimalSeparator;
    writer.write(out, data, CCsvWriter::allRows(data));
    return true;
}
