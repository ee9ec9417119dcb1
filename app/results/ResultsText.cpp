#include "app/results/ResultsText.h"

#include "analysis/Calibration.h"
#include "app/TextCodec.h"

#include <QLocale>
#include <QSet>
#include <QTextDocumentFragment>

#include <limits>

namespace tavimor {

namespace {

const QString kNoValue = QStringLiteral("—");
// The question's text in the table, the rest in its tooltip.
constexpr int kQuestionTextLength = 48;

QString Plural(qsizetype count, const QString& one, const QString& many)
{
    return QString::number(count) + QLatin1Char(' ') + (count > 1 ? many : one);
}

// "—" sorts before every figure.
QVariant SortKey(const std::optional<double>& value)
{
    return value ? *value : std::numeric_limits<double>::lowest();
}

TFigureCell Figure(const std::optional<double>& value, int decimals, const QString& unit = {})
{
    return {FigureText(value, decimals, unit), SortKey(value), {}};
}

// Names sort as a French reader expects whatever the system's language:
// "Élodie" beside "Eva", not after "Zoé".
QString NameSortKey(const QString& name)
{
    QString folded;
    for (const QChar c : name.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c;
    return folded.toCaseFolded();
}

QString CalibrationDetail(const TCalibration& calibration)
{
    return QStringLiteral("Réponses certaines : %1 justes sur %2 ; réponses incertaines : %3 justes sur %4")
        .arg(calibration.CertainRight)
        .arg(calibration.Certain)
        .arg(calibration.UncertainRight)
        .arg(calibration.Uncertain);
}

QString PlainQuestionText(const TQuizDocument& doc, int question)
{
    if (question < 1 || question > doc.Quests.Count())
        return {};
    return QTextDocumentFragment::fromHtml(FromCore(doc.Quests.Quest(question).QText)).toPlainText().simplified();
}

} // namespace

QString FigureText(const std::optional<double>& value, int decimals, const QString& unit)
{
    if (!value)
        return kNoValue;
    // A figure that rounds to zero is written without a minus sign.
    const double shown = QString::number(*value, 'f', decimals).toDouble() == 0 ? 0.0 : *value;
    return QLocale(QLocale::French, QLocale::France).toString(shown, 'f', decimals) + unit;
}

QString RateText(const std::optional<double>& rate)
{
    return FigureText(rate ? std::optional<double>(*rate * 100) : std::nullopt, 1, QStringLiteral(" %"));
}

QString DurationText(long long seconds)
{
    const long long minutes = seconds / 60;
    if (minutes >= 60)
        return QStringLiteral("%1 h %2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 min %2 s").arg(minutes).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QStringList StudentHeaders(bool certainty)
{
    QStringList headers {QStringLiteral("Élève"), QStringLiteral("Bonnes réponses"), QStringLiteral("Taux pondéré"),
        QStringLiteral("Durée")};
    if (certainty)
        headers << QStringLiteral("Calibration");
    return headers;
}

std::vector<TFigureRow> StudentRows(const TClassResults& results)
{
    QSet<QString> altered;
    for (const TStudentResult& record : results.Altered)
        altered.insert(QString::fromStdString(record.Record.Line));
    std::vector<TFigureRow> rows;
    rows.reserve(results.Students.size());
    for (const TStudentResult& student : results.Students) {
        QString name = FromCore(student.Student);
        if (student.Attempts > 1)
            name += QStringLiteral(" (%1 essais)").arg(student.Attempts);
        if (altered.contains(QString::fromStdString(student.Record.Line)))
            name += QStringLiteral(" — modifié après coup");
        TFigureRow row {{name, NameSortKey(FromCore(student.Student)), FromCore(student.File)},
            {QStringLiteral("%1 sur %2").arg(student.Right).arg(results.QuestionCount), student.Right, {}},
            Figure(student.RatePercent, 1, QStringLiteral(" %")), {DurationText(student.Seconds), student.Seconds, {}}};
        if (results.Certainty) {
            const TCalibration calibration = CalibrationOf(student);
            row.push_back({FromCore(VerdictText(calibration.Verdict())), {}, CalibrationDetail(calibration)});
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

QStringList QuestionHeaders()
{
    return {QStringLiteral("Question"), QStringLiteral("Facilité"), QStringLiteral("Écart-type"),
        QStringLiteral("Indice de discrimination"), QStringLiteral("Efficacité discriminante"),
        QStringLiteral("Poids effectif")};
}

std::vector<TFigureRow> QuestionRows(const TQuizDocument& doc, const std::vector<TItemStatistics>& items)
{
    std::vector<TFigureRow> rows;
    rows.reserve(items.size());
    for (const TItemStatistics& item : items) {
        const QString text = PlainQuestionText(doc, item.Question);
        QString shown = QString::number(item.Question);
        if (!text.isEmpty())
            shown += QStringLiteral(". ")
                + (text.size() > kQuestionTextLength ? text.left(kQuestionTextLength - 1) + QStringLiteral("…") : text);
        rows.push_back({{shown, item.Question, text}, Figure(item.Facility, 3), Figure(item.StandardDeviation, 3),
            Figure(item.DiscriminationIndex, 1, QStringLiteral(" %")),
            Figure(item.DiscriminativeEfficiency, 1, QStringLiteral(" %")),
            Figure(item.EffectiveWeight, 1, QStringLiteral(" %"))});
    }
    return rows;
}

QString CountsLine(const TClassResults& results, bool includeAltered)
{
    QString line = results.Students.empty()
        ? QStringLiteral("Aucun élève compté")
        : Plural(static_cast<qsizetype>(results.Students.size()), QStringLiteral("élève"), QStringLiteral("élèves"));
    line += QStringLiteral(", ")
        + Plural(results.QuestionCount, QStringLiteral("question"), QStringLiteral("questions"));
    if (results.Copies > 0)
        line += QStringLiteral(" ; ")
            + Plural(results.Copies, QStringLiteral("résultat reçu en double, compté une fois"),
                QStringLiteral("résultats reçus en double, comptés une fois"));
    const std::size_t notCounted = results.Refused.size() + (includeAltered ? 0 : results.Altered.size());
    if (notCounted > 0)
        line += QStringLiteral(" ; ")
            + Plural(static_cast<qsizetype>(notCounted), QStringLiteral("fichier non compté"),
                QStringLiteral("fichiers non comptés"));
    if (includeAltered && !results.Altered.empty())
        line += QStringLiteral(" ; ")
            + Plural(static_cast<qsizetype>(results.Altered.size()),
                QStringLiteral("résultat modifié après coup compté"),
                QStringLiteral("résultats modifiés après coup comptés"));
    return line + QLatin1Char('.');
}

QStringList NotCountedLines(const TClassResults& results, bool includeAltered)
{
    QStringList lines;
    for (const TRefusedFile& file : results.Refused)
        lines << FromCore(file.File) + QStringLiteral(" : ") + FromCore(file.Reason);
    for (const TStudentResult& altered : results.Altered)
        lines << FromCore(altered.File) + QStringLiteral(" : modifié après coup (résultat de ")
                + FromCore(altered.Student)
                + (includeAltered ? QStringLiteral("), compté, corrigé d'après le quiz")
                                  : QStringLiteral("), non compté"));
    return lines;
}

} // namespace tavimor
