// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivereading.h"
#include "ascan/ascanwindow.h"
#include "evaluation/evaluation.h"
#include "evaluation/evaluationcsvwriter.h"
#include "format/ascanentry.h"

#include <QWidget>

#include <memory>
#include <optional>

namespace Ui
{
class ReviewWindowGUI;
}
class CCollatrix;
class QLabel;

// The readings of the download on screen that the checks doubt, and those already decided, for
// an engineer to verify or reject with a reason: each beside its point's history and the A-scan
// of the previous counted reading. What comes from the archive comes from its thread, so the
// window answers meanwhile.
class ReviewWindow : public QWidget
{
    Q_OBJECT

public:
    // The A-scan pictures are labelled as the A-scan window labels them.
    ReviewWindow(CCollatrix *controller, const AScanWindow::Labels &labels,
                 QWidget *parent = nullptr);
    ~ReviewWindow() override;

    // Evaluates the results on screen again and lists their readings to review.
    void refresh();

signals:
    // A decision reached the archive, or waits for the shared one.
    void decided();
    void helpRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // The pictures are scaled to their labels whenever these change size.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the archive's thread brought for the selected reading.
    struct Earlier {
        QList<ArchiveReading> history;
        QString historyProblem;
        bool fetched = false;
        AScanEntry aScan;
        QString aScanProblem;
    };

    const PointEvaluation *selected() const;
    const PointEvaluation *pointOf(int group, int cell) const;
    void fillReadings();
    void showSelected();
    void showEarlier(const Earlier &earlier);
    void showCurrentAScan(const PointEvaluation &point);
    // The picture of the reading's A-scan into the label, or the line saying why there is none.
    void showAScan(QLabel *label, QPixmap *picture, const MeasurementRecord &record,
                   const AScanEntry *entry, const QString &missing);
    static void fit(QLabel *label, const QPixmap &picture);
    void decide(const QString &decision, ReadingCheck made);
    void tellDecided(int group, int cell, ReadingCheck made, const QString &problem);
    void tell(const QString &text);

    std::unique_ptr<Ui::ReviewWindowGUI> ui;
    CCollatrix *controller;
    // Draws the A-scan pictures; never shown.
    AScanWindow drawer;
    std::optional<CEvaluation> current;
    // The listed readings by row, as indices into the evaluation's points.
    QList<int> listed;
    // The selected reading's point, whose earlier readings the archive's thread is asked for.
    int shownPoint = -1;
    // The pictures as drawn, before they are scaled to their labels.
    QPixmap currentPicture;
    QPixmap previousPicture;
    CEvaluationCsvWriter texts;
};
