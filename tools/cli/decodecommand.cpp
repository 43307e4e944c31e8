#include "decodecommand.h"

#include "clioptions.h"

#include "data/keptdownload.h"
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
    const QString problem = CKeptDownload::dumpProblem(dump, extended);
    if (!problem.isEmpty()) {
        printError(QStringLiteral("%1: %2").arg(input, problem));
        return CliFailed;
    }
    CZRData data;
    decode(&data, dump, extended);
    return writeResults(opt.values.value(QStringLiteral("-o")), data, separator) ? CliOk
                                                                                 : CliFailed;
}
