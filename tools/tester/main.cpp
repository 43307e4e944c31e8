// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-tester: a simulated ultrasonic tester on a pseudo-terminal.
#include "ptylink.h"
#include "testerdevice.h"
#include "testermemory.h"
#include "testeroptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <optional>

namespace
{

// ports/ beside the program, where the program looks first; an installed program's folder is
// not ours to write, so then the user's runtime folder, where the program looks next.
QString defaultPortsDir()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString beside = QDir(programFolder).filePath(QStringLiteral("ports"));
    const QFileInfo besideInfo(beside);
    const bool writable = besideInfo.exists() ? besideInfo.isDir() && besideInfo.isWritable()
                                              : QFileInfo(programFolder).isWritable();
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (writable || runtime.isEmpty())
        return beside;
    return QFile::decodeName(runtime) + QStringLiteral("/collatrix/ports");
}

enum ExitStatus { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

int fail(int status, const QString &message)
{
    std::fprintf(stderr, "collatrix-tester: %s\n", qPrintable(message));
    return status;
}

std::optional<QByteArray> readFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return file.readAll();
}

std::optional<CTesterMemory> plannedMemory(const TesterOptions &o, QString *error)
{
    const std::optional<QByteArray> text = readFile(o.readingsFile, error);
    std::vector<TesterRecord> readings;
    if (!text || !CTesterMemory::readReadings(*text, o.layout, &readings, error))
        return std::nullopt;
    return CTesterMemory::planned(o.layout, readings, o.seed, o.taken);
}

std::optional<CTesterMemory> loadMemory(const TesterOptions &o, QString *error)
{
    if (!o.readingsFile.isEmpty())
        return plannedMemory(o, error);
    if (o.dumpFile.isEmpty()) {
        *error = CTesterMemory::checkGeneration(o.layout, o.groups, o.cells);
        if (!error->isEmpty())
            return std::nullopt;
        return CTesterMemory::generate(o.layout, o.groups, o.cells, o.seed, o.taken);
    }
    const std::optional<QByteArray> bytes = readFile(o.dumpFile, error);
    if (!bytes)
        return std::nullopt;
    return CTesterMemory::fromDump(*bytes, o.layout);
}

// Whole or not at all: a test reads the file as the tester's memory.
bool writeDump(const CTesterMemory &memory, const QString &path)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(memory.bytes()) == memory.bytes().size() &&
           file.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TesterOptions options;
    QString error;
    if (!parseTesterOptions(QCoreApplication::arguments().mid(1), &options, &error)) {
        std::fprintf(stderr, "collatrix-tester: %s\n\n%s", qPrintable(error), kTesterUsage);
        return ExitUsage;
    }
    if (options.help) {
        std::fputs(kTesterUsage, stdout);
        return ExitOk;
    }
    const std::optional<CTesterMemory> loaded = loadMemory(options, &error);
    if (!loaded)
        return fail(options.dumpFile.isEmpty() && options.readingsFile.isEmpty() ? ExitUsage
                                                                                 : ExitFailed,
                    error);
    const CTesterMemory &memory = *loaded;
    if (!options.writeDump.isEmpty()) {
        if (!writeDump(memory, options.writeDump))
            return fail(ExitFailed, QStringLiteral("cannot write %1").arg(options.writeDump));
        return ExitOk;
    }
    const QString portsDir = options.portsDir.isEmpty() ? defaultPortsDir() : options.portsDir;
    CTesterDevice::installStopHandlers();
    CPtyLink link;
    const CPtyLink::OpenResult opened = link.open(portsDir, options.port, &error);
    if (opened != CPtyLink::Opened)
        return fail(opened == CPtyLink::LinkInUse ? ExitUsage : ExitFailed, error);
    std::printf("collatrix-tester: layout %d, %d records, linked %s -> %s\n", memory.layout(),
                int(memory.records().size()), qPrintable(link.linkPath()),
                qPrintable(link.slavePath()));
    std::fflush(stdout);
    return CTesterDevice(memory, options, link).run();
}
