// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <functional>

class MainWindow;
class QWidget;

// Drives the real main window against collatrix-tester, then a second one on the newest survey
// of the demonstration archive (for the archive, evaluation, due and review windows, which
// need years of surveys), and saves what they show as PNG files. Widgets are found by their
// object names, as a user finds them by sight.
class CScreenshotSession
{
public:
    CScreenshotSession(const QString &outputFolder, const QString &demoFolder,
                       const QString &testerProgram);
    ~CScreenshotSession();

    // Takes every picture; false (with a reason) at the first step that does not come about.
    bool run(QString *error);

private:
    bool startTester(QString *error);
    bool takeAll(MainWindow &window, QString *error);
    bool downloadWithProgress(MainWindow &window, QString *error);
    void takeOutcomeMessage(MainWindow &window);
    void takeResults(MainWindow &window);
    void takeContextMenu(MainWindow &window);
    bool takeAscanWindow(MainWindow &window, QString *error);
    void takeSecondaryWindows(MainWindow &window);
    bool useDemo(QString *error);
    bool takeDemoWindows(MainWindow &window, QString *error);
    QWidget *takeWindow(MainWindow &window, const char *button, const char *name,
                        const char *picture);

    bool save(QWidget *widget, const QString &name) const;
    bool save(const QPixmap &picture, const QString &name) const;
    static bool waitUntil(const std::function<bool()> &condition, int ms);
    template <typename T> static T *find(const QWidget *root, const char *name);

    QDir output;
    QDir demo;
    QString tester;
    QTemporaryDir ports;
    QTemporaryDir scratch;
    QProcess testerProcess;
};
