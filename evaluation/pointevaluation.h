// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/pointreading.h"
#include "evaluation/readingchecks.h"

#include <QDate>

#include <optional>

// The order of the texts that name them; the action list ranks them by urgency on its own.
enum class EvaluationStatus {
    BelowMinimum,
    Warning,
    Ok,
    NoLimit,
    NotThickness,
    Overdue,
    Suspect,
    Rejected
};
constexpr int kEvaluationStatusCount = 8;

// The figures of one result. An empty optional or an invalid date is a figure not known.
// Rates are in the result's unit per year, remaining life in years. Initial, previous and every
// rate come from counted readings only.
struct PointEvaluation {
    MeasurementRecord record;
    EvaluationStatus status = EvaluationStatus::NoLimit;
    ReadingCheck check = ReadingCheck::Counted;
    std::optional<double> loss;
    std::optional<PointReading> initial;
    std::optional<PointReading> previous;
    std::optional<double> longTermRate;
    std::optional<double> shortTermRate;
    // The least-squares rate, the standard error of its slope and its one-sided upper bound.
    std::optional<double> leastSquaresRate;
    std::optional<double> leastSquaresError;
    std::optional<double> leastSquaresUpper;
    // The governing rate.
    std::optional<double> rate;
    std::optional<double> remainingLife;
    // The minimum allowable thickness in force.
    std::optional<double> minimum;
    QDate nextInspection;
};
