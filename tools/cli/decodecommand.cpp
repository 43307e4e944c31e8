#include "decodecommand.h"

#include "data/csvwriter.h"
#include "data/zrdata.h"

#include <QFile>
#include <QLocale>
#include <cstdio>

namespace {

struct DecodeOptions {
    QString input;
    QString output;
    bool extended = false;
    QChar decimalSeparator = QLocale::system().decimalPoint().at(0);
};

void printError(const QString &text)
{
    std::fprintf(stderr, "collatrix-cli: %s\n", qPrintable(text));
}

// False (after naming the fault) when the arguments do not form a decode command.
bool parseOptions(const QStringList &args, DecodeOptions *opt)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--extended")) {
            opt->extended = true;
        } else if (a == QLatin1String("--decimal-separator") && hasValue) {
            const QString sep = args.at(++i);
            if (sep.size() != 1) {
                printError(QStringLiteral("the decimal separator must be one character"));
                return false;
            }
            opt->decimalSeparator = sep.at(0);
        } else if (a == QLatin1String("-o") && hasValue) {
            opt->output = args.at(++i);
        } else if (!a.startsWith(QLatin1Char('-')) && opt->input.isEmpty()) {
            opt->input = a;
        } else {
            printError(QStringLiteral("unexpected argument '%1'").arg(a));
            return false;
        }
    }
    if (opt->input.isEmpty())
        printError(QStringLiteral("decode needs a dump file"));
    return !opt->input.isEmpty();
}

bool decode(CZRData *data, const QByteArray &dump, bool extended)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(dump.constData());
    const int size = int(dump.size());
    return extended ? data->decodeM47ExtendedDump(bytes, size)
                    : data->decodeHeaderedDump(bytes, size);
}

bool writeCsv(const DecodeOptions &opt, const CZRData &data)
{
    QFile out;
    const bool opened = opt.output.isEmpty()
                            ? out.open(stdout, QIODevice::WriteOnly)
                            : (out.setFileName(opt.output), out.open(QIODevice::WriteOnly));
    if (!opened) {
        printError(QStringLiteral("cannot write %1: %2").arg(opt.output, out.errorString()));
        return false;
    }
    CCsvWriter writer;
    writer.decimalSeparator = opt.decimalSeparator;
    writer.write(out, data, CCsvWriter::allRows(data));
    return true;
}

} // namespace

QString decodeProblem(const QByteArray &dump, bool extended)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(dump.constData());
    const int size = int(dump.size());
    const int minimum = extended ? CZRData::kHeaderSize + 32 : CZRData::kHeaderSize;
    if (size < minimum)
        return QStringLiteral("too short (%1 bytes, a dump has at least %2)").arg(size).arg(minimum);
    if (!extended && !CZRData::isZR2604Header(bytes, size) && !CZRData::isM47Header(bytes, size))
        return QStringLiteral("unknown header (use --extended for 32-byte records)");
    CZRData data;
    if (!decode(&data, dump, extended))
        return QStringLiteral("no records");
    if (data.totalCount() == 0)
        return QStringLiteral("no records in groups 1 to 256");
    return QString();
}

int runDecodeCommand(const QStringList &args)
{
    DecodeOptions opt;
    if (!parseOptions(args, &opt))
        return CliUsage;
    QFile in(opt.input);
    if (!in.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(opt.input, in.errorString()));
        return CliUsage;
    }
    const QByteArray dump = in.readAll();
    const QString problem = decodeProblem(dump, opt.extended);
    if (!problem.isEmpty()) {
        printError(QStringLiteral("%1: %2").arg(opt.input, problem));
        return CliFailed;
    }
    CZRData data;
    decode(&data, dump, opt.extended);
    return writeCsv(opt, data) ? CliOk : CliFailed;
}
