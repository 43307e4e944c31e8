// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/pointevaluation.h"

#include <array>
#include <optional>

// One group at a glance. The figures cover the readings in the group's thickness unit (the
// unit of its first thickness reading); the standard deviation is the sample's, as
// spreadsheets give it, and needs two readings.
struct GroupSummary {
    int group = 0;
    int unit = UnitMillimetres;
    int count = 0;
    int figureCount = 0;
    double minimum = 0.0;
    int minimumCell = 0;
    double maximum = 0.0;
    double mean = 0.0;
    std::optional<double> standardDeviation;
    std::array<int, kEvaluationStatusCount> statusCounts{};
    std::optional<double> worstRemainingLife;
    // Decimals of the finest reading among them, for showing the figures.
    int decimals = 0;
};
