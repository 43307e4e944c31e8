// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>

class CArchive;
class CCliOptions;

// The options of archive design.
QSet<QString> designOptions();
// archive design GROUP --shape pipe|shell|head --pressure P (--diameter D | --radius R)
//     --stress S [--joint E] [--weld W] [--y Y] [--structural T] [--reason TEXT]: sets the
// group's design data and prints the minimum allowable thickness they give.
int setDesign(CArchive &archive, const CCliOptions &opt);
