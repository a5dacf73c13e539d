#pragma once

#include <string>
#include <string_view>

#include "tongqiu/calc_failure.h"

namespace tongqiu {

// The two ways a number is written into a field.
enum class Pattern {
    TwoPlaces,  // "0.00"
    SixPlaces,  // "0.000000"
};

// The number that a field's text denotes. Besides the plain decimal form it takes the full-width
// forms and the "。" decimal point that Chinese input methods type, white space around the number,
// and an exponent. Fails with TypeMismatch when the text is no number, Overflow when its magnitude
// is beyond a double. A number too small for a double gives the nearest double.
CheckedValue FieldValue(std::string_view text);

// The text of a value by a pattern, rounded as a person does by hand: the value's 15 significant
// digits, rounded half away from zero. Never shows "-0.00" and never uses an exponent.
std::string FormatFixed(double value, Pattern pattern);

// The same with any number of places, none without a point: what a spreadsheet shows for a
// fixed-decimal number format ("0", "0.0", "0.00", ...). A value that is not finite gives "".
std::string FormatPlaces(double value, int places);

}  // namespace tongqiu
