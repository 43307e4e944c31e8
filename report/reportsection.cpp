// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reportsection.h"

CReportSection::~CReportSection() = default;
