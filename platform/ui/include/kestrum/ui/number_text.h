// Numbers in the text of controls, independent of the process locale: "1.5" reads as one and a
// half under every locale, and no hexadecimal, "inf" or "nan" is taken for a number.
#pragma once

#include <kestrum/ui/export.h>

#include <QString>
#include <QStringView>

#include <optional>

namespace kestrum::ui {

// Shortest form with up to `digits` significant digits, as "%.*g" writes it: 0.1, 1e+20, -3.
KESTRUM_UI_API QString formatDouble(double value, int digits = 15);
// The shortest text that reads back to exactly the same double (up to 17 digits).
KESTRUM_UI_API QString formatShortest(double value);

// A whole decimal number between optional blanks and tabs, with an optional sign and exponent;
// nothing else may follow. Empty text, overflow and non-finite values give nothing.
KESTRUM_UI_API std::optional<double> parseDouble(QStringView text);
KESTRUM_UI_API std::optional<int> parseInt(QStringView text);

}  // namespace kestrum::ui
