// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archiveset.h"
#include "data/archiverecorder.h"
#include "data/transferengine.h"
#include "evaluation/evaluationinput.h"
#include "format/ascanentry.h"
#include "format/keptdownload.h"
#include "format/zrdata.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QStandardPaths>
#include <QString>

#include <memory>

class CCsvWriter;
class CKVTUSTester;
class QIODevice;

// The data controller: decoded results, the tester, the A-scan cache, the texts several windows
// share, and the settings kept in Settings.ini beside the program (or in the user's configuration
// folder when the program folder is not the user's to write).
class CCollatrix : public QObject
{
    Q_OBJECT

public:
    // The program folder defaults to the folder of the running program (see
    // setDefaultProgramFolder); tests pass their own.
    explicit CCollatrix(const QString &programFolderOverride = QString());
    // Makes every controller built without a folder use this one; tests run the window in a
    // folder of their own so that they can run side by side.
    static void setDefaultProgramFolder(const QString &folder);
    ~CCollatrix() override;

    CZRData measurements;
    QString programTitle;
    QString dataPath;
    QString version;
    QString transferSucceededText;
    QString transferIncompleteText;
    QString transferFailedText;
    QString groupText;
    QString cellText;
    QString unitTexts[kUnitCount];
    QString csvHeader;
    QString csvHeaderWithAScan;
    QString unsavedQuestionText;
    QString unsavedTitleText;
    QString decimalSeparator;
    CKVTUSTester *tester = nullptr;
    QMap<int, AScanEntry> aScanCache;
    int language = 1;
    int comSpeed = 38400;
    bool comPortFixed = false;
    int comPortNumber = 0;
    bool unsavedData = false;
    QString programFolder;
    // At least one chunk has been accepted since the transfer started.
    bool transferActive = false;
    CTransferEngine transfer{nullptr};
    // The results in the table as they are kept, and the file that holds them (empty when none
    // does).
    CKeptDownload kept;
    QString keptFile;
    // What the tester that sent the results said it is; empty for results from a file.
    QString identification;
    // The results came from a file: their A-scans are the ones it holds, none is fetched.
    bool fromFile = false;
    // The archive every kept download goes into ($COLLATRIX_ARCHIVE, the shared archive of the
    // settings, or the embedded file), and what went wrong with it last, for the window to tell
    // once.
    std::unique_ptr<CArchiveSet> archive;
    QString archiveProblem;
    // Typed at the window's prompt for the shared archive; held for the session, never written.
    QString archivePassword;

    QString settingsFilePath() const;
    bool readSettings();
    // The settings in the file's format from an open device.
    bool readSettings(QIODevice &device);
    bool writeSettings() const;
    void loadTexts();
    static QString folderOfPath(const QString &path);

    // The transfer as the main window drives it, one step per 500 ms tick.
    bool findDevice();
    bool startTransfer();
    void stopTransfer();
    CTransferEngine::Step stepTransfer(int *progress);
    bool decodeReceivedDump();
    // Keeps the reception just decoded when it holds a result; false with the reason in
    // *problem when it could not be written.
    bool keepReception(CTransferEngine::Outcome outcome, QString *problem);
    // Adds the A-scans fetched since to the kept file.
    bool keepAScans(QString *problem);
    // Opens the archive; a new one first takes in the downloads kept before it. False with the
    // reason in archiveProblem; downloading and keeping go on without it.
    bool openArchive(const CArchiveSet::Progress &progress = {});
    // Opens the archive afresh after its URL or password changed, the recording thread too.
    bool reopenArchive();
    // From now on kept downloads are recorded on a thread of their own, as the window wants.
    void recordInBackground();
    // Shows a kept download or a bare dump instead of the results held; on failure nothing
    // changes and *problem says what is wrong with the file.
    bool openDownload(const QString &path, bool bareExtended, QString *problem);

    // A-scans per table row. Between beginAScans and endAScans the tester's port stays open,
    // so a run of fetches goes at the line's pace.
    bool fetchAScan(int row);
    bool beginAScans();
    void endAScans();
    bool aScanForRow(int row, signed short *samples, int *count, AScanParams *params);
    // A row's A-scan, fetched first when the tester still has it; null when there is none.
    const AScanEntry *heldAScan(int row);

    // Results files.
    // An existing data folder as an absolute path ending in "/"; otherwise the current folder.
    void normaliseDataPath();
    QString defaultResultsFileName() const;
    static QString uniqueFileName(const QString &folder, const QString &base,
                                  const QString &suffix);
    static QString aScanFileName(int group, int cell);
    CCsvWriter csvWriter() const;
    // Writes the results file and, when limits are set for one of the download's groups, the
    // evaluation of the whole download beside it (see CArchiveEvaluation::csvBeside). False with
    // the reason in *problem; a file that failed is not there, or is as it was.
    bool writeCsv(const QString &path, const QList<int> &rows, QString *problem);

    // The time the results were downloaded; now for results that do not say.
    QDateTime downloadTime() const;
    // The results on screen against the earlier downloads in the archive; false with the
    // reason in *problem.
    bool evaluationInput(EvaluationInput *input, QString *problem);
    // A group's limits from now on, in the archive.
    bool setLimits(int group, const GroupLimits &limits, QString *problem);
    // The report particulars the archive remembers for the objects on screen, and remembering
    // new ones.
    QMap<QString, QString> particulars(QString *problem);
    bool rememberParticulars(const QMap<QString, QString> &values, QString *problem);

signals:
    // A kept download was recorded in the background; archiveProblem says what went wrong.
    void archiveRecorded();

private:
    void applySetting(int line, const QByteArray &value);
    QString writableFolder(QStandardPaths::StandardLocation userLocation) const;
    QString defaultDataPath() const;
    void recordKept();
    bool writeEvaluationBeside(const QString &resultsPath, QString *problem);
    // The archive in use, opened first; null with the reason in *problem.
    CArchive *usedArchive(QString *problem);

    bool programFolderWritable = true;
    std::unique_ptr<CArchiveRecorder> recorder;
};
