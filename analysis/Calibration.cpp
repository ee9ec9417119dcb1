#include "analysis/Calibration.h"

namespace tavimor {
namespace {

std::optional<double> Share(int right, int count)
{
    if (count == 0)
        return std::nullopt;
    return static_cast<double>(right) / count;
}

} // namespace

std::optional<double> TCalibration::CertainRightShare() const
{
    return Share(CertainRight, Certain);
}

std::optional<double> TCalibration::UncertainRightShare() const
{
    return Share(UncertainRight, Uncertain);
}

TCalibrationVerdict TCalibration::Verdict() const
{
    const bool judgeCertain = Certain >= kCalibrationMinimum;
    const bool judgeUncertain = Uncertain >= kCalibrationMinimum;
    // Right more than half the time, in whole numbers: 2 right > count.
    if (judgeCertain && 2 * CertainRight <= Certain)
        return TCalibrationVerdict::OverConfident;
    if (judgeUncertain && 2 * UncertainRight > Uncertain)
        return TCalibrationVerdict::UnderConfident;
    if (judgeCertain || judgeUncertain)
        return TCalibrationVerdict::WellCalibrated;
    return TCalibrationVerdict::TooFew;
}

TCalibration& TCalibration::operator+=(const TCalibration& other)
{
    Certain += other.Certain;
    CertainRight += other.CertainRight;
    Uncertain += other.Uncertain;
    UncertainRight += other.UncertainRight;
    return *this;
}

TCalibration CalibrationOf(const TStudentResult& student)
{
    TCalibration calibration;
    const std::vector<TRecordAnswer>& answers = student.Record.Answers;
    for (std::size_t i = 0; i < answers.size() && i < student.Marks.size(); ++i) {
        if (!answers[i].Choice || !answers[i].Certain)
            continue;
        // The marks were computed again from the document: right is a mark
        // above one half (1 or 0.55), wrong one below (0.45 or 0).
        const bool right = student.Marks[i] > 0.5;
        if (*answers[i].Certain) {
            ++calibration.Certain;
            calibration.CertainRight += right ? 1 : 0;
        } else {
            ++calibration.Uncertain;
            calibration.UncertainRight += right ? 1 : 0;
        }
    }
    return calibration;
}

TCalibration ClassCalibration(const TClassResults& results)
{
    TCalibration calibration;
    for (const TStudentResult& student : results.Students)
        calibration += CalibrationOf(student);
    return calibration;
}

std::string VerdictText(TCalibrationVerdict verdict)
{
    switch (verdict) {
    case TCalibrationVerdict::WellCalibrated:
        return "bien calibr\xE9";
    case TCalibrationVerdict::OverConfident:
        return "trop s\xFBr(e) de soi";
    case TCalibrationVerdict::UnderConfident:
        return "pas assez s\xFBr(e) de soi";
    case TCalibrationVerdict::TooFew:
        break;
    }
    return "trop peu de r\xE9ponses pour en juger";
}

} // namespace tavimor
