// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QMap>
#include <QString>

#include <memory>

namespace Ui
{
class ParticularsDialog;
}
class QLineEdit;

// Asks for the report particulars (see CReportParticulars) before the report is written,
// starting from the values given; a key of no field of its own is kept as it was.
class CParticularsDialog : public QDialog
{
    Q_OBJECT

public:
    CParticularsDialog(const QMap<QString, QString> &values, QWidget *parent = nullptr);
    ~CParticularsDialog() override;

    QMap<QString, QString> values() const;
    QLineEdit *field(const QString &key) const { return fields.value(key); }

private:
    std::unique_ptr<Ui::ParticularsDialog> ui;
    QMap<QString, QLineEdit *> fields;
    QMap<QString, QString> given;
};
