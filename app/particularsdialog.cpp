// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/particularsdialog.h"

#include "report/reportparticulars.h"
#include "ui_particularsdialog.h"

#include <QLineEdit>

CParticularsDialog::CParticularsDialog(const QMap<QString, QString> &values, QWidget *parent)
    : QDialog(parent), ui(new Ui::ParticularsDialog), given(values)
{
    ui->setupUi(this);
    for (const QString &key : CReportParticulars::keys()) {
        auto *edit = new QLineEdit(values.value(key), this);
        edit->setObjectName(key);
        ui->fieldsLayout->addRow(CReportParticulars::label(key), edit);
        fields.insert(key, edit);
    }
}

CParticularsDialog::~CParticularsDialog() = default;

QMap<QString, QString> CParticularsDialog::values() const
{
    QMap<QString, QString> result = given;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        result.insert(it.key(), it.value()->text().trimmed());
    return result;
}
