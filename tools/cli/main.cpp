// collatrix-cli: the program's decoding and export from the command line.
#include "decodecommand.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

const char kUsage[] =
    "Usage: collatrix-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  decode FILE [--extended] [--decimal-separator C] [-o OUT.csv]\n"
    "      Decode a raw tester dump and write its results in the CSV format of the\n"
    "      program. Dumps of 8-byte records are recognised by their header;\n"
    "      --extended reads a dump of 32-byte records with A-scan marks.\n"
    "      The decimal separator defaults to the system's. Without -o the CSV\n"
    "      goes to standard output.\n"
    "\n"
    "Exit status: 0 done, 1 the dump gives no results or the output cannot be\n"
    "written, 2 bad arguments or an unreadable file.\n";

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return CliOk;
    }
    int status = CliUsage;
    if (command == QLatin1String("decode"))
        status = runDecodeCommand(args);
    else if (!command.isEmpty())
        std::fprintf(stderr, "collatrix-cli: unknown command '%s'\n", qPrintable(command));
    if (status == CliUsage)
        std::fputs(kUsage, stderr);
    return status;
}
