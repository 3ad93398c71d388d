#pragma once
// Angles as the fields show them: whole degrees and minutes ("7°51'", "-0°30'").
#include <string>
#include <string_view>

namespace umbrix {

// A typed angle as the field shows it. A decimal number is converted; otherwise "," and "." act
// as the degree mark ("7,30" is 7°30'). Minutes of 60 and more carry
// into the degrees; the angle is wrapped into [-180°, 180°).
std::string FormatAngle(std::string_view text);
// Decimal degrees of "D°M'" or of a decimal number; throws ConvertError (naming field) when the
// text does not convert.
double ParseAngle(std::string_view text, std::string_view field = "angle");
// The angle a typed text means before FormatAngle wraps it (0 for a text without one).
double AngleAsTyped(std::string_view text);
// An angle in decimal degrees as "D°M'", rounded to the minute and wrapped into [-180°, 180°)
// ("0°0'" for a value that is not finite).
std::string FormatAngle(double degrees);

}  // namespace umbrix
