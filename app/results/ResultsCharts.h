// The charts of the class results window, each with a name and a
// description that a screen reader reads instead of the picture: the
// students' weighted rates by tenths, and the class's certainty calibration.
#pragma once

#include "analysis/Calibration.h"
#include "analysis/ItemStatistics.h"

#include <QString>

class QBarSet;
class QChartView;
class QValueAxis;
class QWidget;

namespace tavimor {

class TRateHistogram {
public:
    explicit TRateHistogram(QWidget* parent);
    QChartView* View() const { return view_; }
    void Show(const TClassStatistics& statistics);

private:
    QChartView* view_;
    QBarSet* students_;
    QValueAxis* count_;
};

class TCalibrationChart {
public:
    explicit TCalibrationChart(QWidget* parent);
    QChartView* View() const { return view_; }
    void Show(const TCalibration& calibration);

private:
    QChartView* view_;
    QBarSet* shares_;
};

// What the charts say, in words.
QString HistogramDescription(const TClassStatistics& statistics);
QString CalibrationDescription(const TCalibration& calibration);

} // namespace tavimor
