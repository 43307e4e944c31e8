#include "decodecommand.h"

#include "clioptions.h"

#include "data/zrdata.h"

#include <QFile>

namespace
{

bool decode(CZRData *data, const QByteArray &dump, bool extended)
{
    return data->decodeDump(reinterpret_cast<const std::uint8_t *>(dump.constData()),
                            int(dump.size()), extended);
}

} // namespace

QString decodeProblem(const QByteArray &dump, bool extended)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(dump.constData());
    const int size = int(dump.size());
    const int minimum = extended ? CZRData::kHeaderSize + 32 : CZRData::kHeaderSize;
    if (size < minimum)
        return QStringLiteral("too short (%1 bytes, a dump has at least %2)")
            .arg(size)
            .arg(minimum);
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
    CCliOptions opt;
    QChar separator;
    if (!opt.parse(args, {QStringLiteral("--decimal-separator"), QStringLiteral("-o")},
                   {QStringLiteral("--extended")}, 1) ||
        !opt.decimalSeparator(&separator))
        return CliUsage;
    if (opt.positional.isEmpty()) {
        printError(QStringLiteral("decode needs a dump file"));
        return CliUsage;
    }
    const QString input = opt.positional.first();
    QFile in(input);
    if (!in.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(input, in.errorString()));
        return CliUsage;
    }
    const QByteArray dump = in.readAll();
    const bool extended = opt.flags.contains(QStringLiteral("--extended"));
    const QString problem = decodeProblem(dump, extended);
    if (!problem.isEmpty()) {
        printError(QStringLiteral("%1: %2").arg(input, problem));
        return CliFailed;
    }
    CZRData data;
    decode(&data, dump, extended);
    return writeResults(opt.values.value(QStringLiteral("-o")), data, separator) ? CliOk
                                                                                 : CliFailed;
}
