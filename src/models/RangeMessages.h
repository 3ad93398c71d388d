#pragma once
// The messages about a value outside its physical range (engine/PhysicalRanges.h): a field
// keeps its previous value, a command stops with the message, a data-file row gets the missing
// value in its computed columns.
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/PhysicalRanges.h"
#include "models/Language.h"
#include "platform/Error.h"

namespace umbrix {

// A value outside its range; the message names the quantity, where it came from and the range.
class RangeError : public UmbrixError {
  public:
    using UmbrixError::UmbrixError;
};

// "Relative humidity RH (EditRh): 150 is outside the range 0 to 100 %". `where` names the
// field or the data-file position; `value` is the text as it was given. The range is the
// table's, or [min, max] where the limit depends on other values (G, VP).
std::string OutOfRangeText(Quantity quantity, std::string_view where, std::string_view value,
                           Language language);
std::string OutOfRangeText(Quantity quantity, std::string_view where, std::string_view value,
                           double min, double max, Language language);
// "Air temperature Ta (EditTa): "2O" is not a number": a text that no number can be read from.
std::string NotANumberText(Quantity quantity, std::string_view where, std::string_view value,
                           Language language);
// "; the field keeps "53.5"": what a refusing field shows again, appended to the range text.
std::string FieldKeepsText(std::string_view previous, Language language);
// A number as the range messages write it: up to 4 significant digits, no trailing zeros.
std::string RangeNumber(double x);

}  // namespace umbrix
