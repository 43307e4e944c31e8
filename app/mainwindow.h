// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/transferengine.h"

#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QStringList>

#include <memory>

namespace Ui
{
class MainWindowGUI;
class AboutWindowGUI;
class HelpWindowGUI;
class ProgressWindowGUI;
} // namespace Ui
struct AScanParams;
struct MeasurementRecord;
class AScanWindow;
class ArchiveWindow;
class CCollatrix;
class CKeptDownloads;
class CReportAction;
class DueWindow;
class EvaluationWindow;
class ReviewWindow;
class QAction;
class QToolButton;

// The program's main window: the buttons, the results table, and everything they open.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MainWindow() override;

    // How long an outcome message blocks the window; tests shorten it.
    void setTransferMessageDuration(int ms) { transferMessageMs = ms; }
    // The reception step's period; tests over the scripted line, whose clock is virtual,
    // shorten it.
    void setTransferTickDuration(int ms) { transferTickMs = ms; }
    // Shows a kept download or a bare dump (layout 3 only when bareExtended), after the
    // unsaved-data question; a file that cannot be read is named in a message.
    bool openDownload(const QString &path, bool bareExtended = false);
    void openArchive();

signals:
    void ProgressChanged(int prgsValue);
    void vectorChanged(signed short *pVector, int iVectorSize, void *pParams);
    void showAscanWin();
    void hideAscanWin();

private slots:
    void TransferData();
    bool getAscan();
    bool save();
    bool saveAll();
    bool saveSelected();
    void onSwitchAscan();
    void onTableClicked(int row, int column);
    bool saveAScanPicture();
    void ascanToClipboard();
    void dataToClipboard();
    void openDownloadDialog();
    bool saveReport();
    void showEvaluation();
    void showReview();
    void showRow(int row);
    void showArchive();
    void followPointInArchive();
    void showDue();

protected:
    void timerEvent(QTimerEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    static constexpr int kTraceBufferSamples = 4096;
    static constexpr int kAScanColumn = 4;

    // construction
    void setButtonIcon(QToolButton *button, const QString &bitmap, const QString &mask);
    void createAscanWindow();
    void createAboutWindow();
    void createHelpWindow();
    void createProgressWindow();
    void createEvaluationWindow();
    void createArchiveWindow();
    void createReviewWindow();
    void createDueWindow();
    void showHelpPage(const QString &page);
    void setupTable();
    void createActions();
    void onDeviceChange();
    bool deviceFound() const;
    void applyIdleView();
    void applyResultsView();
    // The evaluation and the review are of the results on screen, when there are any.
    bool resultsShown() const;

    // transfer
    void startTransfer();
    void stopTransfer();
    void finishTransfer(int progress);
    void repeatRefusedSearch();
    void showTransferMessage(const QString &text, int ms);
    void prefetchAScans();

    // results table
    void fillTable();
    void addGroupRows(int group);
    void fitRowHeight();
    static QIcon aScanIcon();
    QString unitText(int unit) const;

    // export
    bool saveData(bool all);
    // Names every file that could not be written, with its reason.
    void tellNotSaved(const QStringList &failures);
    bool selectedRows(QList<int> *rows) const;
    bool confirmDiscardUnsaved();

    // A-scan window
    void setupAscanWindow();
    void setAscanLabels();
    void updateAscanWindow(const AScanParams *params, const MeasurementRecord *record);
    void dockAscanWindow();
    QPixmap grabAscanWindow() const;
    // False when a picture could not be written, each named with its reason in *failures.
    bool saveAscanPictures(const QString &folder, const QList<int> &rows, QStringList *failures);

    std::unique_ptr<Ui::MainWindowGUI> ui;
    std::unique_ptr<Ui::AboutWindowGUI> aboutUi;
    std::unique_ptr<Ui::HelpWindowGUI> helpUi;
    std::unique_ptr<Ui::ProgressWindowGUI> progressUi;
    QWidget *aboutWindow = nullptr;
    AScanWindow *ascanWindow = nullptr;
    QWidget *helpWindow = nullptr;
    QWidget *progressWindow = nullptr;
    CCollatrix *controller = nullptr;
    int transferTimerId = 0;
    int transferMessageMs = 2000;
    int transferTickMs = CTransferEngine::kTickMs;
    bool closing = false;
    bool deviceChangeDuringTransfer = false;
    QAction *toClipboardAction = nullptr;
    QAction *saveAllAction = nullptr;
    QAction *saveSelectedAction = nullptr;
    QAction *openAction = nullptr;
    QAction *reportAction = nullptr;
    QAction *evaluationAction = nullptr;
    EvaluationWindow *evaluationWindow = nullptr;
    QAction *reviewAction = nullptr;
    ReviewWindow *reviewWindow = nullptr;
    QAction *archiveAction = nullptr;
    ArchiveWindow *archiveWindow = nullptr;
    QAction *dueAction = nullptr;
    DueWindow *dueWindow = nullptr;
    // Collaborators that the window owns: keeping and opening downloads, and the report.
    CKeptDownloads *kept = nullptr;
    CReportAction *report = nullptr;
};
