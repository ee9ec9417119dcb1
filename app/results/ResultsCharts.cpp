#include "app/results/ResultsCharts.h"

#include "app/TextCodec.h"
#include "app/results/ResultsText.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFont>
#include <QLineSeries>
#include <QPen>
#include <QStringList>
#include <QValueAxis>

#include <algorithm>

namespace tavimor {

namespace {

constexpr int kPercent = 100;
constexpr double kCertaintyPays = 50; // ticking "certain" pays above this share right

// A chart without its own border, shown in a view that takes the keyboard
// so that a screen reader reaches its description, and lets a drop of
// files through to the window.
QChartView* MakeView(QWidget* parent, const QString& name, const QString& accessibleName, QChart* chart)
{
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setAccessibleName(accessibleName);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFocusPolicy(Qt::StrongFocus);
    view->setAcceptDrops(false);
    view->viewport()->setAcceptDrops(false);
    view->setMinimumSize(320, 240);
    chart->setAnimationOptions(QChart::NoAnimation);
    return view;
}

QString Percent(const std::optional<double>& share)
{
    return FigureText(share ? std::optional<double>(*share * kPercent) : std::nullopt, 0, QStringLiteral(" %"));
}

// The chart cuts a label wider than its share of the axis: a tenth is
// named by where it starts ("40" for 40 to 50 %), the axis title says so.
QString BinName(std::size_t bin)
{
    return QString::number(bin * 10);
}

void SmallLabels(QAbstractAxis& axis)
{
    QFont small = axis.labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    axis.setLabelsFont(small);
}

} // namespace

// ---------------------------------------------------------------------------
// The rates by tenths

TRateHistogram::TRateHistogram(QWidget* parent)
{
    auto* chart = new QChart();
    chart->setTitle(QStringLiteral("Répartition des taux pondérés"));
    chart->legend()->hide();
    students_ = new QBarSet(QStringLiteral("Élèves"));
    QStringList bins;
    for (std::size_t bin = 0; bin < kRateBins; ++bin) {
        students_->append(0);
        bins << BinName(bin);
    }
    auto* series = new QBarSeries();
    series->append(students_);
    series->setBarWidth(0.9);
    chart->addSeries(series);

    auto* tenths = new QBarCategoryAxis();
    tenths->append(bins);
    tenths->setTitleText(QStringLiteral("Taux pondéré (%), par tranches de 10 points"));
    SmallLabels(*tenths);
    chart->addAxis(tenths, Qt::AlignBottom);
    series->attachAxis(tenths);
    count_ = new QValueAxis();
    count_->setLabelFormat(QStringLiteral("%d"));
    count_->setTitleText(QStringLiteral("Élèves"));
    chart->addAxis(count_, Qt::AlignLeft);
    series->attachAxis(count_);

    view_ = MakeView(parent, QStringLiteral("RateHistogram"), QStringLiteral("Histogramme des taux pondérés"), chart);
    Show(TClassStatistics {});
}

void TRateHistogram::Show(const TClassStatistics& statistics)
{
    std::size_t most = 0;
    for (std::size_t bin = 0; bin < kRateBins; ++bin) {
        students_->replace(static_cast<int>(bin), static_cast<qreal>(statistics.RateHistogram[bin]));
        most = std::max(most, statistics.RateHistogram[bin]);
    }
    // Whole numbers of students: one tick a student up to ten, then nice steps.
    count_->setRange(0, static_cast<qreal>(std::max<std::size_t>(most, 1)));
    if (most <= 10)
        count_->setTickCount(static_cast<int>(std::max<std::size_t>(most, 1)) + 1);
    else
        count_->applyNiceNumbers();
    view_->setAccessibleDescription(HistogramDescription(statistics));
}

QString HistogramDescription(const TClassStatistics& statistics)
{
    if (statistics.Students == 0)
        return QStringLiteral("Aucun élève compté.");
    QStringList bins;
    for (std::size_t bin = 0; bin < kRateBins; ++bin)
        if (const std::size_t count = statistics.RateHistogram[bin]; count > 0)
            bins << QStringLiteral("de %1 à %2 % : %3").arg(bin * 10).arg((bin + 1) * 10).arg(count);
    return QStringLiteral("Élèves par tranche de taux pondéré : ") + bins.join(QStringLiteral(" ; "))
        + QStringLiteral(" (les autres tranches sont vides). Moyenne ") + RateText(statistics.MeanRate)
        + QStringLiteral(", médiane ") + RateText(statistics.MedianRate) + QStringLiteral(", écart-type ")
        + RateText(statistics.RateStandardDeviation) + QLatin1Char('.');
}

// ---------------------------------------------------------------------------
// Certainty calibration

TCalibrationChart::TCalibrationChart(QWidget* parent)
{
    auto* chart = new QChart();
    chart->setTitle(QStringLiteral("Calibration de la certitude (classe)"));
    shares_ = new QBarSet(QStringLiteral("Part de justes"));
    shares_->append({0, 0});
    auto* series = new QBarSeries();
    series->append(shares_);
    series->setBarWidth(0.6);
    chart->addSeries(series);

    // Ticking "certain" pays above this line.
    auto* line = new QLineSeries();
    line->setName(QStringLiteral("Seuil de 50 %"));
    line->append(-0.5, kCertaintyPays);
    line->append(1.5, kCertaintyPays);
    QPen dashed(QColor(192, 0, 0));
    dashed.setStyle(Qt::DashLine);
    dashed.setWidth(2);
    line->setPen(dashed);
    chart->addSeries(line);

    auto* kinds = new QBarCategoryAxis();
    kinds->append({QStringLiteral("Certaines"), QStringLiteral("Incertaines")});
    kinds->setTitleText(QStringLiteral("Réponses"));
    SmallLabels(*kinds);
    chart->addAxis(kinds, Qt::AlignBottom);
    series->attachAxis(kinds);
    line->attachAxis(kinds);
    auto* share = new QValueAxis();
    share->setRange(0, kPercent);
    share->setTickCount(6);
    share->setLabelFormat(QStringLiteral("%d"));
    share->setTitleText(QStringLiteral("Réponses justes (%)"));
    chart->addAxis(share, Qt::AlignLeft);
    series->attachAxis(share);
    line->attachAxis(share);
    chart->legend()->setAlignment(Qt::AlignBottom);

    view_ = MakeView(
        parent, QStringLiteral("CalibrationChart"), QStringLiteral("Calibration de la certitude de la classe"), chart);
    Show(TCalibration {});
}

void TCalibrationChart::Show(const TCalibration& calibration)
{
    shares_->replace(0, calibration.CertainRightShare().value_or(0) * kPercent);
    shares_->replace(1, calibration.UncertainRightShare().value_or(0) * kPercent);
    view_->setAccessibleDescription(CalibrationDescription(calibration));
}

QString CalibrationDescription(const TCalibration& calibration)
{
    const auto kind = [](int right, int all, const std::optional<double>& share) {
        return all == 0 ? QStringLiteral("aucune")
                        : QStringLiteral("%1 justes sur %2 (%3)").arg(right).arg(all).arg(Percent(share));
    };
    return QStringLiteral("Réponses certaines : ")
        + kind(calibration.CertainRight, calibration.Certain, calibration.CertainRightShare())
        + QStringLiteral(" ; réponses incertaines : ")
        + kind(calibration.UncertainRight, calibration.Uncertain, calibration.UncertainRightShare())
        + QStringLiteral(". Cocher « certain » rapporte quand on a juste plus d'une fois sur deux (ligne des 50 %). ")
        + QStringLiteral("Verdict pour la classe : ") + FromCore(VerdictText(calibration.Verdict())) + QLatin1Char('.');
}

} // namespace tavimor
