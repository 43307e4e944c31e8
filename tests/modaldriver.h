// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// A window's widget by the object name its form gives it.
template <typename T> T *child(const QObject &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

// Answers the next modal dialog from the event loop, as a user would: polls every 20 ms for a
// modal widget of the wanted type and hands it to the answer.
template <typename Dialog>
void answerNextModal(std::function<void(Dialog *)> answer, int attempts = 250)
{
    QTimer::singleShot(20, qApp, [answer, attempts]() {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            answer(dialog);
        } else if (attempts > 0) {
            answerNextModal<Dialog>(answer, attempts - 1);
        }
    });
}

inline void clickNextMessageBox(QMessageBox::StandardButton button, QString *text = nullptr)
{
    answerNextModal<QMessageBox>([button, text](QMessageBox *box) {
        if (text != nullptr)
            *text = box->text();
        box->button(button)->click();
    });
}

// Accepts the next file dialog with the given path, or cancels it when the path is empty; then
// runs next, which may answer what the dialog leads to.
inline void answerNextFileDialog(const QString &path, QString *proposed = nullptr,
                                 const std::function<void()> &next = {})
{
    answerNextModal<QFileDialog>([path, proposed, next](QFileDialog *dialog) {
        if (proposed != nullptr)
            *proposed = dialog->selectedFiles().value(0);
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the name field: selectFile() may be undone while the folder still loads.
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog *>(dialog)->done(
            QDialog::Accepted); // done() is protected in QFileDialog
        if (next)
            next();
    });
}
