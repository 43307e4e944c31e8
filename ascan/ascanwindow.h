// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui
{
class ascanWindowGUI;
}
struct AScanEntry;
struct AScanParams;
struct MeasurementRecord;
class CZRData;
class QVectorDrawFrame;

// The A-scan window: a trace with its amplitude and depth scales and the result it belongs to.
// The main window shows it beside the table; its pictures are the saved A-scan files, whether
// the window saves them or collatrix-cli renders them offscreen.
class AScanWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kTraceBufferSamples = 4096;

    // The unit and label texts, in the program's language.
    struct Labels {
        QString millimetres = QStringLiteral("mm");
        QString inches = QStringLiteral("Inches");
        QString group = QStringLiteral("Group");
        QString cell = QStringLiteral("Cell");
    };

    explicit AScanWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~AScanWindow() override;

    // Grid and scales as they are before the first A-scan.
    void setup();
    // The labels and the depth scale for a result and its A-scan block; either may be null.
    void showResult(const AScanParams *params, const MeasurementRecord *record);
    QVectorDrawFrame *trace() const;
    QPixmap picture();
    // The window's picture of a result and its A-scan, as the saved files show it.
    QPixmap pictureOf(const MeasurementRecord &record, const AScanEntry &entry);

    // Saves the picture of every listed row that has an A-scan into folder, made when the
    // first picture is due. aScanOf gives a row's A-scan or null. A failed folder or picture is
    // tried again with the next one; false when one failed, each named with its reason in
    // *failures.
    bool savePictures(const QString &folder, const CZRData &data, const QList<int> &rows,
                      const std::function<const AScanEntry *(int row)> &aScanOf,
                      QStringList *failures);
    // Writes the picture whole in the given format; false with the reason in *problem.
    static bool savePicture(const QPixmap &picture, const QString &path, const char *format,
                            QString *problem);
    static bool makePath(const QString &folder);

    Labels labels;

private:
    std::unique_ptr<Ui::ascanWindowGUI> ui;
};
