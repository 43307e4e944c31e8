// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/pointreading.h"

#include <QDate>

#include <optional>

enum class EvaluationStatus { BelowMinimum, Warning, Ok, NoLimit, NotThickness };
constexpr int kEvaluationStatusCount = 5;

// The figures of one result. An empty optional or an invalid date is a figure not known.
// Rates are in the result's unit per year, remaining life in years.
struct PointEvaluation {
    MeasurementRecord record;
    EvaluationStatus status = EvaluationStatus::NoLimit;
    std::optional<double> loss;
    std::optional<PointReading> initial;
    std::optional<PointReading> previous;
    std::optional<double> longTermRate;
    std::optional<double> shortTermRate;
    std::optional<double> rate;
    std::optional<double> remainingLife;
    QDate nextInspection;
};
