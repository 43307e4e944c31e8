// SPDX-License-Identifier: GPL-3.0-or-later
#include "decodecommand.h"

#include "clioptions.h"

#include "format/keptdownload.h"
#include "format/zrdata.h"

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
    QByteArray dump;
    if (!opt.parseFileCommand(args, &separator) || !opt.readInput(&dump))
        return CliUsage;
    const QString input = opt.positional.first();
    const bool extended = opt.extended();
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
