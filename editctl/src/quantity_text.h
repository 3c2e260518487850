// The numbers of the quantity edit control as text, without widgets: rounding to the control's
// decimals, the text it shows (plain while edited; grouped and with the unit's symbol while
// not) and reading typed text back. Independent of the process locale throughout.
#pragma once

#include <QString>
#include <QStringView>

#include <string>

namespace kestrum::editctl {

// The most decimals a control keeps: the rounding scale 10^n must fit in 32 bits.
inline constexpr unsigned short kMaxPrecision = 9;

// x rounded to nDecimals (at most kMaxPrecision) decimals. An exact half of the last decimal
// goes down, towards minus infinity, also for negative numbers: 1.2345 and -1.2345 at three
// decimals give 1.234 and -1.235. Numbers too large to have decimals come back unchanged.
double RoundValue(double x, unsigned short nDecimals);

// The decimal digits of a number rounded to a fixed count of decimals: no sign, no point and no
// leading zeros, with the point's position among them (zero or negative below 1). 1234567.891
// at 3 decimals: "1234567891" and 7; 0.05: "50" and -1; 0.5: "500" and 0.
struct FixedDigits {
    std::string digits;
    int decimalPoint = 0;
    bool negative = false;  // never set for a number that rounds to zero
};
FixedDigits fixedDigits(double value, unsigned short decimals);

// The number as the control shows it. Grouped: "," between thousands and after every third
// zero that leads the decimals (1,234,567.891; 0.000,1). Below 1 no "0" stands before the point
// unless zeros lead the decimals (.500, 0.050), as the control has always shown them.
QString formatNumber(double value, unsigned short decimals, bool grouped);

// The decorated text: number and symbol joined by a space, the symbol after or before.
QString decorate(const QString& number, const QString& symbol, bool symbolAfter);

// Where a position in the decorated text falls in the plain number it shows. The grouped number
// starts at numberStart in the decorated text; its commas are not in the plain number, and a
// position in the symbol or its space is the nearer end of the number.
int plainPosition(QStringView groupedNumber, int numberStart, int position);

// The number the text starts with, read as the C library reads one: leading white space, a
// sign, digits with at most one point, an exponent; whatever follows is ignored, and text
// without a number ("", "-", ".", "ft 12") gives 0. A number too large for a double gives the
// largest double of its sign. No hexadecimal, infinity or NaN.
double parseLeadingNumber(QStringView text);

}  // namespace kestrum::editctl
