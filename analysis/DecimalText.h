// Decimal numbers as text for people and spreadsheets, with the decimal
// separator of the reader's language.
#pragma once

#include <string>

namespace tavimor {

enum class TrailingZeros { Keep, Drop };

// value rounded to `decimals` decimals (0 to 17), with `point` between the
// whole and the decimal part. With TrailingZeros::Drop the zeros at the end
// of the decimals go, and the point with them when nothing is left
// (1 gives "1", 0.55 gives "0,55"). A value that rounds to zero is written
// without a minus sign. NaN and infinities are the caller's to avoid: they
// give "nan" and "inf".
std::string DecimalText(double value, int decimals, char point, TrailingZeros zeros);

} // namespace tavimor
