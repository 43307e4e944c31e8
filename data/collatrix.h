// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/transferengine.h"
#include "format/ascanentry.h"
#include "format/zrdata.h"
#include "services/archiveservice.h"
#include "services/downloadsteps.h"
#include "services/evaluationservice.h"

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
    // The program folder, where Settings.ini and the first Data/ folder are, defaults to
    // $COLLATRIX_SETTINGS_FOLDER when set, else to the folder of the running program (see
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
    // The services the window shares with the command line: the archive on its own thread, the
    // download as it is kept, and the evaluation against the archive.
    std::unique_ptr<CArchiveService> archive;
    std::unique_ptr<CDownloadSteps> download;
    std::unique_ptr<CEvaluationService> evaluation;

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
    // evaluation of the whole download beside it (see CEvaluationService::writeBeside). False
    // with the reason in *problem; a file that failed is not there, or is as it was.
    bool writeCsv(const QString &path, const QList<int> &rows, QString *problem);

    // The time the results were downloaded; now for results that do not say.
    QDateTime downloadTime() const;

private:
    void applySetting(int line, const QByteArray &value);
    QString writableFolder(QStandardPaths::StandardLocation userLocation) const;
    QString defaultDataPath() const;

    bool programFolderWritable = true;
};
