// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivedownload.h"
#include "archive/archivepointname.h"
#include "archive/archivereading.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

class CCollatrix;
class CDownloadOpener;
class QShowEvent;

namespace Ui
{
class ArchiveWindowGUI;
}

// The archive at a glance: every download, newest first, to filter and open again; the history
// of the test point selected in the main window, as a table and a plot; naming a group; the
// downloads waiting for the shared archive, and which shared archive that is.
class ArchiveWindow : public QWidget
{
    Q_OBJECT

public:
    ArchiveWindow(CCollatrix *controller, QWidget *parent = nullptr);
    ~ArchiveWindow() override;

    // Reads the downloads and the waiting count again.
    void refresh();
    // The test point whose history is shown; group 0 shows none.
    void showPoint(int group, int cell);

signals:
    // A download to open as its kept file is opened.
    void openRequested(const QString &path);
    void helpRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // What one reading of the list brought from the archive's thread.
    struct Listing {
        bool read = false;
        QList<ArchiveDownload> downloads;
        QMap<qint64, QStringList> names;
        QString problem;
    };

    void showListing(const Listing &listing);
    void fillDownloads();
    bool matchesFilter(const ArchiveDownload &d) const;
    void openSelected();
    void fillHistory(const QList<ArchiveReading> &readings);
    void plotHistory(const QList<ArchiveReading> &readings);
    void nameGroup();
    // The heading and the name fields of the point shown.
    void showPointName(const ArchivePointName &point);
    void namePoint();
    void importReadings();
    void sync();
    void tellSynced(int brought, const QString &problem);
    void connectShared();
    void askPassword(bool wanted);
    void showState();
    void tell(const QString &problem);

    std::unique_ptr<Ui::ArchiveWindowGUI> ui;
    CCollatrix *controller;
    QList<ArchiveDownload> downloads;
    QMap<qint64, QStringList> names;
    // The downloads of the table's rows, by row.
    QList<int> shown;
    CDownloadOpener *opener = nullptr;
    int pointGroup = 0;
    int pointCell = 0;
    bool syncAsked = false;
    // Set when the window is opened or Connect pressed: the time a password may be asked.
    bool passwordMayBeAsked = false;
    // Typed at the prompt; held for the session, never written.
    QString password;
    QTimer countdown;
};
