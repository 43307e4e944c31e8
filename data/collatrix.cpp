// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/collatrix.h"

#include "device/kvtustester.h"
#include "format/atomicfile.h"
#include "format/csvwriter.h"
#include "services/searchsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cctype>
#include <climits>

namespace
{

const char kSettingsHeader[] = "Collatrix Settings File";
const char kLineEnd[] = "\r\n";
// A settings line holds at most 255 bytes; the rest of a longer line is read as the next line.
constexpr int kMaxLineBytes = 255;

bool isSeparator(char c)
{
    return c == ':' || c == '/' || c == '\\' || c == '#' || c == '$' || c == '\n';
}

// The key ends at the first separator that follows a non-separator; the value is what follows.
QByteArray settingValue(const QByteArray &line)
{
    bool inKey = false;
    for (int i = 0; i < line.size(); ++i) {
        if (!isSeparator(line.at(i)))
            inKey = true;
        else if (inKey)
            return line.mid(i + 1);
    }
    return QByteArray();
}

// C atoi: leading white space, an optional sign, digits up to the first other character.
int atoiLike(const QByteArray &text)
{
    int i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text.at(i))))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '+' || text.at(i) == '-'))
        negative = text.at(i++) == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text.at(i))); ++i)
        value = std::min<long long>(value * 10 + (text.at(i) - '0'), INT_MAX);
    return int(negative ? -value : value);
}

QByteArray cutAtLineEnd(QByteArray line)
{
    for (int i = 0; i < line.size(); ++i) {
        if (line.at(i) == '\r' || line.at(i) == '\n') {
            line.truncate(i);
            break;
        }
    }
    return line;
}

} // namespace

namespace
{

QString &defaultProgramFolder()
{
    static QString folder;
    return folder;
}

// $COLLATRIX_SETTINGS_FOLDER in place of the program folder, so a demonstration keeps its
// Settings.ini and Data/ apart from the user's.
QString environmentFolder()
{
    const QString folder = qEnvironmentVariable("COLLATRIX_SETTINGS_FOLDER");
    return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder
                                                                 : folder + QLatin1Char('/');
}

// The first folder given: the caller's, the tests', $COLLATRIX_SETTINGS_FOLDER, else the
// program's own.
QString chosenProgramFolder(const QString &override)
{
    for (const QString &folder : {override, defaultProgramFolder(), environmentFolder()}) {
        if (!folder.isEmpty())
            return folder;
    }
    return CCollatrix::folderOfPath(QCoreApplication::applicationFilePath());
}

} // namespace

void CCollatrix::setDefaultProgramFolder(const QString &folder)
{
    defaultProgramFolder() = folder;
}

CCollatrix::CCollatrix(const QString &programFolderOverride)
    : version(QStringLiteral(COLLATRIX_VERSION))
{
    programFolder = chosenProgramFolder(programFolderOverride);
    QDir::setCurrent(programFolder);
    // An installed program folder belongs to the administrator; the kernel's answer for this
    // user decides, so a read-only mount counts too.
    programFolderWritable = QFileInfo(programFolder).isWritable();
    dataPath = defaultDataPath();
    readSettings();
    loadTexts();
    tester = new CKVTUSTester;
    transfer = CTransferEngine(tester);
    archive = std::make_unique<CArchiveService>();
    download = std::make_unique<CDownloadSteps>(archive.get());
    evaluation = std::make_unique<CEvaluationService>(archive.get());
}

CCollatrix::~CCollatrix()
{
    writeSettings();
    delete tester;
    tester = nullptr;
}

QString CCollatrix::folderOfPath(const QString &path)
{
    const int cut =
        int(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))));
    if (cut >= 0)
        return path.left(cut + 1);
    // A bare drive ("D:name") keeps its drive letter and colon.
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter())
        return path.left(2);
    return QString();
}

// The program folder when the user can write it, as always; otherwise the user's own folder of
// the given kind.
QString CCollatrix::writableFolder(QStandardPaths::StandardLocation userLocation) const
{
    return programFolderWritable
               ? programFolder
               : QStandardPaths::writableLocation(userLocation) + QStringLiteral("/collatrix/");
}

QString CCollatrix::defaultDataPath() const
{
    return writableFolder(QStandardPaths::GenericDataLocation) + tr("Data/");
}

QString CCollatrix::settingsFilePath() const
{
    return writableFolder(QStandardPaths::GenericConfigLocation) + QStringLiteral("Settings.ini");
}

bool CCollatrix::readSettings()
{
    QFile file(settingsFilePath());
    return file.open(QIODevice::ReadOnly) && readSettings(file);
}

bool CCollatrix::readSettings(QIODevice &device)
{
    if (cutAtLineEnd(device.readLine(kMaxLineBytes + 1)) != kSettingsHeader)
        return false;
    for (int line = 2; !device.atEnd(); ++line)
        applySetting(line, settingValue(cutAtLineEnd(device.readLine(kMaxLineBytes + 1))));
    return true;
}

void CCollatrix::applySetting(int line, const QByteArray &value)
{
    switch (line) {
    case 2:
        if (value == "Eng" || value == "Rus")
            language = value == "Eng" ? 1 : 0;
        break;
    case 4:
        if (const int speed = atoiLike(value))
            comSpeed = speed;
        break;
    case 5: {
        const QByteArray port =
            value.startsWith("COM") || value.startsWith("com") ? value.mid(3) : value;
        comPortFixed = !port.isEmpty() && port.at(0) >= '1' && port.at(0) <= '9';
        if (comPortFixed)
            comPortNumber = atoiLike(port);
        break;
    }
    case 6:
        if (!value.isEmpty())
            dataPath = QString::fromLocal8Bit(value);
        break;
    default: // the version line and anything after the sixth line are not read
        break;
    }
}

bool CCollatrix::writeSettings() const
{
    // The user's configuration folder may not exist yet; a program folder that vanished while
    // the program ran is not made again.
    if (!programFolderWritable)
        QDir().mkpath(folderOfPath(settingsFilePath()));
    const QByteArray port = comPortFixed ? "COM" + QByteArray::number(comPortNumber) : "Any";
    const QByteArray lines[] = {kSettingsHeader,
                                QByteArray("Language:") + (language != 0 ? "Eng" : "Rus"),
                                "Version:" + version.toLatin1(),
                                "COMSpeed:" + QByteArray::number(comSpeed),
                                "COMPort:" + port,
                                "DataPath:" + dataPath.toLocal8Bit()};
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + kLineEnd;
    QString problem;
    return CAtomicFile::write(settingsFilePath(), bytes, &problem);
}

void CCollatrix::loadTexts()
{
    programTitle = QStringLiteral("Collatrix M47T");
    transferSucceededText = tr("Data transfer completed successfully.");
    transferIncompleteText = tr("Received data is incomplete! Please try again.");
    transferFailedText = tr("Data transfer failed! Please try again.");
    groupText = tr("Group");
    cellText = tr("Cell");
    unitTexts[UnitMetresPerSecond] = tr("m/s");
    unitTexts[UnitMicroseconds] = tr("us");
    unitTexts[UnitMillimetres] = tr("mm");
    unitTexts[UnitInches] = tr("Inches");
    csvHeader = tr("\"Group\";\"Cell\";\"Result\";\"Unit\"");
    csvHeaderWithAScan = tr("\"Group\";\"Cell\";\"Result\";\"Unit\";\"Ascan\"");
    unsavedQuestionText = tr("Received data will be lost. Do you want to save it?");
    unsavedTitleText = tr("Received data was not saved.");
    decimalSeparator = QStringLiteral(".");
    const QString systemPoint = QLocale::system().decimalPoint();
    if (!systemPoint.isEmpty())
        decimalSeparator = systemPoint.left(1);
}

bool CCollatrix::findDevice()
{
    if (transferActive || tester == nullptr)
        return false;
    tester->searchPorts = CSearchSettings::ports();
    return tester->findDevice();
}

bool CCollatrix::beginAScans()
{
    return tester != nullptr && tester->beginAScans();
}

void CCollatrix::endAScans()
{
    if (tester != nullptr)
        tester->endAScans();
}

bool CCollatrix::startTransfer()
{
    transferActive = false;
    const bool started = transfer.start();
    if (started)
        unsavedData = false;
    return started;
}

void CCollatrix::stopTransfer()
{
    transferActive = false;
    transfer.stop();
}

CTransferEngine::Step CCollatrix::stepTransfer(int *progress)
{
    const CTransferEngine::Step step = transfer.step(progress);
    transferActive = transfer.active();
    return step;
}

bool CCollatrix::decodeReceivedDump()
{
    measurements.clear();
    aScanCache.clear();
    if (tester == nullptr) {
        unsavedData = false;
        return false;
    }
    std::uint8_t *dump = nullptr;
    int size = 0;
    tester->takeDump(&dump, &size);
    unsavedData = measurements.decodeDump(dump, size, tester->extendedProtocol);
    download->received(transfer.reception(dump, size), tester->identification);
    return unsavedData;
}

bool CCollatrix::keepReception(CTransferEngine::Outcome outcome, QString *problem)
{
    return download->keep(measurements, CTransferEngine::outcomeName(outcome), problem);
}

bool CCollatrix::keepAScans(QString *problem)
{
    return download->keepAScans(measurements, aScanCache, problem);
}

bool CCollatrix::openDownload(const QString &path, bool bareExtended, QString *problem)
{
    CKeptDownload file;
    CZRData data;
    QMap<int, AScanEntry> aScans;
    if (!file.readFile(path, bareExtended, problem) || !file.decode(&data, &aScans, problem))
        return false;
    measurements = std::move(data);
    aScanCache = std::move(aScans);
    download->opened(std::move(file), path);
    unsavedData = false;
    return true;
}

bool CCollatrix::fetchAScan(int row)
{
    if (tester == nullptr || !tester->deviceFound)
        return false;
    MeasurementRecord record;
    AScanEntry entry;
    if (!measurements.recordAt(row, &record) ||
        !tester->requestAScan(record.group, record.cell, &entry))
        return false;
    aScanCache.insert(row, entry);
    return true;
}

bool CCollatrix::aScanForRow(int row, signed short *samples, int *count, AScanParams *params)
{
    if (!aScanCache.contains(row) && (download->fromFile || !fetchAScan(row)))
        return false;
    const AScanEntry &entry = aScanCache[row];
    if (params != nullptr)
        *params = entry.params;
    if (samples != nullptr)
        std::copy(entry.trace.cbegin(), entry.trace.cend(), samples);
    if (count != nullptr)
        *count = int(entry.trace.size());
    return true;
}

const AScanEntry *CCollatrix::heldAScan(int row)
{
    return aScanForRow(row, nullptr, nullptr, nullptr) ? &aScanCache[row] : nullptr;
}

void CCollatrix::normaliseDataPath()
{
    // The fallback below is the program folder, no place for results when the user cannot write
    // it: the default data folder in the user's own folders is made instead.
    if (!programFolderWritable && dataPath == defaultDataPath())
        QDir().mkpath(dataPath);
    const QDir folder(dataPath);
    dataPath = (folder.exists() ? folder.absolutePath() : QDir::currentPath()) + QLatin1Char('/');
}

QString CCollatrix::defaultResultsFileName() const
{
    return uniqueFileName(dataPath, QStringLiteral("results"), QStringLiteral(".csv"));
}

QString CCollatrix::uniqueFileName(const QString &folder, const QString &base,
                                   const QString &suffix)
{
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n) + suffix;
        if (!QFile::exists(folder + name))
            return name;
    }
}

QString CCollatrix::aScanFileName(int group, int cell)
{
    return CCsvWriter::aScanFileName(group, cell);
}

CCsvWriter CCollatrix::csvWriter() const
{
    CCsvWriter writer;
    writer.csvHeader = csvHeader;
    writer.csvHeaderWithAScan = csvHeaderWithAScan;
    writer.unitTexts = QStringList(std::begin(unitTexts), std::end(unitTexts));
    writer.decimalSeparator = decimalSeparator.at(0);
    return writer;
}

bool CCollatrix::writeCsv(const QString &path, const QList<int> &rows, QString *problem)
{
    const CCsvWriter writer = csvWriter();
    // Binary mode: the lines carry their own CR LF.
    if (!CAtomicFile::write(
            path, [&](QIODevice &out) { return writer.write(out, measurements, rows); }, problem))
        return false;
    dataPath = folderOfPath(path);
    return evaluation->writeBeside(path, measurements, downloadTime(), writer, problem);
}

QDateTime CCollatrix::downloadTime() const
{
    return download->kept.time.isValid() ? download->kept.time : QDateTime::currentDateTime();
}
