// What the class results window shows as text: the rows of its tables, its
// line of counts and its list of files not counted, in French.
#pragma once

#include "analysis/ClassResults.h"
#include "analysis/ItemStatistics.h"
#include "app/results/FigureTable.h"
#include "model/DocumentFile.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavimor {

// "0,750", "12,5 %": French decimals; "—" for no value.
QString FigureText(const std::optional<double>& value, int decimals, const QString& unit = {});
// A rate of 0..1 in percent with one decimal: "62,5 %".
QString RateText(const std::optional<double>& rate);
// "9 min 42 s", or "1 h 05" from an hour on.
QString DurationText(long long seconds);

QStringList StudentHeaders(bool certainty);
// Élève (with the number of attempts when there were several, and a mark
// on a record changed after the page wrote it), right answers, weighted
// rate, time taken, and with the certainty option the calibration verdict.
std::vector<TFigureRow> StudentRows(const TClassResults& results);

QStringList QuestionHeaders();
std::vector<TFigureRow> QuestionRows(const TQuizDocument& doc, const std::vector<TItemStatistics>& items);

// "3 élèves, 4 questions ; 1 copie comptée une fois ; 2 fichiers non comptés".
QString CountsLine(const TClassResults& results, bool includeAltered);

// "file : reason", the refused files first, then the records changed after
// the page wrote them (left out, or counted when includeAltered).
QStringList NotCountedLines(const TClassResults& results, bool includeAltered);

} // namespace tavimor
