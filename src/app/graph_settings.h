#pragma once

#include "app/main_settings.h"
#include "controls/meter_model.h"
#include "reports/report_chart.h"

// Gives the graph the main window's fixed values and then the settings, in
// the order the settings apply (a later key may override an earlier one).
void ApplyGraphSettings(const TMainSettings& settings, TMeterModel& graph);

// Rates in bits when the graph's scale is in kilobits.
TRateUnits RateUnitsOf(const TMeterModel& graph);

// The reports' charts in the graph's colours.
TChartLook ReportChartLook(const TMeterModel& graph);
