// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-cli: the program's decoding, device search, download and kept downloads from the
// command line.
#include "archivecommands.h"
#include "clioptions.h"
#include "decodecommand.h"
#include "devicecommands.h"
#include "duecommand.h"
#include "evaluatecommand.h"
#include "keptcommands.h"
#include "reviewcommand.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

namespace
{

const char kUsage[] =
    "Usage: collatrix-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  decode FILE [--extended] [--decimal-separator C] [-o OUT.csv]\n"
    "      Decode a raw tester dump and write its results in the CSV format of the\n"
    "      program. Dumps of 8-byte records are recognised by their header;\n"
    "      --extended reads a dump of 32-byte records with A-scan marks.\n"
    "      Without -o the CSV goes to standard output.\n"
    "  ports [--ports-dir DIR]\n"
    "      List the serial ports that can be opened, as COMn, and those the search\n"
    "      leaves alone because another program has them, with the reason.\n"
    "  search-ports [LIST | all]\n"
    "      Show or set the ports the device search tries (window and command line),\n"
    "      e.g. 3,5-7; all (the default) tries every port.\n"
    "  find [--ports-dir DIR]\n"
    "      Search the ports for a tester; print its port and whether it speaks\n"
    "      the extended protocol.\n"
    "  download -o RESULTS.csv [--pictures] [--raw DUMP.bin] [--decimal-separator C]\n"
    "           [--ports-dir DIR] [--archive URL]\n"
    "      Find the tester, download its memory as the program does (a poll every\n"
    "      500 ms), decode it and write the CSV; --raw also writes the raw dump.\n"
    "      The download is kept (see below) and the kept file's path is printed;\n"
    "      it is recorded in the archive.\n"
    "      --pictures fetches every A-scan, keeps them too and writes their BMP\n"
    "      pictures into the folder named after the CSV file.\n"
    "  export FILE -o RESULTS.csv [--decimal-separator C] [--extended]\n"
    "      Write the CSV of a kept download or a raw dump, byte for byte as the\n"
    "      program's Save As does, and the pictures of the A-scans it holds.\n"
    "      A raw dump is read as 32-byte records only with --extended.\n"
    "  report FILE -o REPORT.pdf [--extended] [--decimal-separator C]\n"
    "         [--field KEY=VALUE]... [--archive URL]\n"
    "      Write the inspection report of a kept download or a raw dump as PDF: the\n"
    "      download's particulars with statistics per group, the results table and\n"
    "      the A-scan pictures the file holds; with limits set for one of its groups,\n"
    "      the evaluation against the earlier downloads in the archive too. Page one\n"
    "      carries the particulars of the test the archive remembers for the\n"
    "      download's objects, each --field replacing or adding one. Keys: client,\n"
    "      site, object, locations, operator, qualification, instrument, serial,\n"
    "      probe, couplant, reference, mode, surface, date, deviations, remarks;\n"
    "      another key is printed under its own name.\n"
    "  evaluate [FILE] [--archive URL] [-o EVALUATION.csv] [--decimal-separator C]\n"
    "           [--extended]\n"
    "      Evaluate FILE, or the newest download in the archive, against the earlier\n"
    "      downloads in the archive (newer ones never count), with the latest limits\n"
    "      of each group: one line per result with its status, loss, the initial and\n"
    "      previous readings, the rates, the remaining life and the next inspection.\n"
    "      Without -o the CSV goes to standard output.\n"
    "  kept [--downloads-dir DIR]\n"
    "      List the kept downloads: time, port, device, rows, A-scans, outcome.\n"
    "  archive list [--archive URL]\n"
    "      One line per recorded download, newest first:\n"
    "      time;tester;results;ascans;outcome;file\n"
    "  archive history GROUP CELL [--decimal-separator C] [--archive URL]\n"
    "      Every reading of the test point, oldest first: time;group;cell;result;unit\n"
    "      (time in ISO 8601 with its UTC offset, the result with a point unless\n"
    "      --decimal-separator says otherwise).\n"
    "  archive name GROUP NAME [--reason TEXT] [--archive URL]\n"
    "      Name the group (the object) from the newest download onward.\n"
    "  archive import PATH... [--progress] [--archive URL]\n"
    "      Record kept downloads and raw dumps; a folder gives its .clxd files and\n"
    "      those below it. The same file is recorded once. --progress writes a line\n"
    "      \"N of M files: PATH\" on standard error once each file is done.\n"
    "  archive import-readings FILE.csv [--archive URL]\n"
    "      Record readings of earlier years from a spreadsheet: a CSV file with the\n"
    "      header time;group;cell;result;unit (time in ISO 8601, or a date alone for\n"
    "      its noon; result with a point or a comma; unit mm or in). Each time is a\n"
    "      download of its own, tester \"imported from FILE\"; a bad line is named\n"
    "      and nothing of the file is recorded. Importing a file again records only\n"
    "      what is new.\n"
    "  archive sync [--archive URL]\n"
    "      Bring the downloads and decisions not yet shared into the shared archive.\n"
    "  archive limits GROUP [--nominal X] [--minimum Y] [--warning W] [--tolerance T]\n"
    "                 [--min-interval DAYS] [--rule RULE] [--rate RATE]\n"
    "                 [--reason TEXT] [--archive URL]\n"
    "      Set the group's nominal and minimum allowable thickness and its warning\n"
    "      margin, in the unit of its readings, and its settings, from now on; a\n"
    "      value not given keeps its current setting, the earlier settings stay.\n"
    "      --tolerance is a thickness, --min-interval whole days, RULE half-life,\n"
    "      vessel, class1, class2 or class3, RATE lt-st, all or upper. Without\n"
    "      values, list the limits, oldest first: time;nominal;minimum;warning\n"
    "  archive log [GROUP] [--archive URL]\n"
    "      Every change of the limits, names, settings, point names and decisions on\n"
    "      readings of the group (or of all), oldest first:\n"
    "      time;user;group;what;old;new;reason (what of a point: point CELL name or\n"
    "      point CELL location)\n"
    "      (a field holding ';', a quote or a line break is quoted, its quotes\n"
    "      doubled).\n"
    "  archive points [GROUP] [--archive URL]\n"
    "      The plant's name and location of every named test point of the group (or\n"
    "      of all), the latest: group;cell;name;location (quoted as archive log does).\n"
    "  archive points import FILE.csv [--reason TEXT] [--archive URL]\n"
    "      Name test points from a list with the header group;cell;name;location:\n"
    "      ';' between fields, a field in double quotes when it holds ';' or a quote\n"
    "      (its quotes doubled), UTF-8, CR LF or LF. Only the points that changed get\n"
    "      a new row, the earlier names stay; a bad line is named with its number\n"
    "      and nothing of the file is recorded.\n"
    "  archive design GROUP --shape pipe|shell|head --pressure P\n"
    "                 (--diameter D | --radius R) --stress S [--joint E] [--weld W]\n"
    "                 [--y Y] [--structural T] [--reason TEXT] [--archive URL]\n"
    "      Set the group's design data and print the minimum allowable thickness\n"
    "      they give: the larger of the pressure design thickness (pipe: outside\n"
    "      diameter D; shell: inside radius R; 2:1 ellipsoidal head: inside\n"
    "      diameter D) and the structural minimum T. MPa with mm, or psi with\n"
    "      inches. E and W default to 1, Y to 0.4. It replaces the typed minimum\n"
    "      until a minimum is set again with archive limits.\n"
    "  review [--archive URL]\n"
    "      Every reading that is suspect or decided, oldest first:\n"
    "      time;group;cell;result;unit;check;decision;by;reason\n"
    "  review verify|reject GROUP CELL TIME --reason TEXT [--archive URL]\n"
    "      Verify a suspect reading, so that it counts, or reject a reading, so\n"
    "      that it never counts; TIME as archive history prints it.\n"
    "  due [--within DAYS] [-o DUE.csv] [--ics DUE.ics] [--archive URL]\n"
    "      What falls due, one line per object with limits, from the evaluation of\n"
    "      the newest reading of each of its points, soonest first:\n"
    "      Group;Name;Last survey;Points;Below minimum;Warning;Suspect;Overdue;Cell;\n"
    "      Point;Next inspection. --within keeps the objects due within DAYS of today\n"
    "      (overdue ones, and those whose points all wait for a review, included).\n"
    "      --ics also writes an iCalendar file, an all-day event per object on its\n"
    "      next inspection, which a calendar program updates on the next import.\n"
    "\n"
    "The decimal separator defaults to the system's. Port n is the entry COMn of the\n"
    "folder ports/ beside the program when it exists (--ports-dir names another),\n"
    "then of $XDG_RUNTIME_DIR/collatrix/ports/, otherwise COM1-32 /dev/ttyS0-31, COM33-64 "
    "/dev/ttyUSB0-31, COM65-96\n"
    "/dev/ttyACM0-31, COM97-128 /dev/rfcomm0-31.\n"
    "\n"
    "Every download is kept in $XDG_DATA_HOME/collatrix/downloads (by default\n"
    "~/.local/share/collatrix/downloads), one .clxd file each, named by its time.\n"
    "\n"
    "The archive is the file $XDG_DATA_HOME/collatrix/archive.sqlite unless\n"
    "--archive URL or $COLLATRIX_ARCHIVE names another: sqlite:PATH, or a shared\n"
    "PostgreSQL archive as postgresql://user@host:port/dbname or\n"
    "postgresql:///dbname?host=/socket/dir (passwords from ~/.pgpass or a service).\n"
    "With a shared archive every download is also recorded in the file; one the\n"
    "server cannot take waits there for the next connection or archive sync.\n"
    "\n"
    "Exit status: 0 done; 1 nothing decodable, or the output cannot be written;\n"
    "2 bad arguments or an unreadable file; 3 no tester found; 4 received data is\n"
    "incomplete (what came is written); 5 no measurements in the device.\n";

} // namespace

int main(int argc, char *argv[])
{
    // The A-scan pictures are drawn by the program's own window, offscreen: no display needed.
    // The other commands do without the toolkit's windowing.
    const bool pictures =
        argc > 1 && (std::strcmp(argv[1], "export") == 0 || std::strcmp(argv[1], "report") == 0 ||
                     std::strcmp(argv[1], "download") == 0);
    if (pictures)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(pictures ? new QApplication(argc, argv)
                                                         : new QCoreApplication(argc, argv));
    QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return CliOk;
    }
    const QMap<QString, std::function<int(const QStringList &)>> commands = {
        {QStringLiteral("decode"), runDecodeCommand},
        {QStringLiteral("ports"), runPortsCommand},
        {QStringLiteral("search-ports"), runSearchPortsCommand},
        {QStringLiteral("find"), runFindCommand},
        {QStringLiteral("download"), runDownloadCommand},
        {QStringLiteral("export"), runExportCommand},
        {QStringLiteral("report"), runReportCommand},
        {QStringLiteral("kept"), runKeptCommand},
        {QStringLiteral("archive"), runArchiveCommand},
        {QStringLiteral("evaluate"), runEvaluateCommand},
        {QStringLiteral("review"), runReviewCommand},
        {QStringLiteral("due"), runDueCommand}};
    int status = CliUsage;
    if (commands.contains(command))
        status = commands.value(command)(args);
    else if (!command.isEmpty())
        printError(QStringLiteral("unknown command '%1'").arg(command));
    if (status == CliUsage)
        std::fputs(kUsage, stderr);
    return status;
}
