#include "platform/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "platform/Error.h"

namespace umbrix {

namespace {

// Limits that keep absurd arguments from building gigantic texts.
constexpr int kMaxDecimals = 40;
constexpr int kStoredDigits = 18;

// |value| as decimal significant digits: value = 0.d1d2d3... * 10^(exponent + 1), i.e.
// exponent is the power of ten of the first digit. No leading zeros unless zero.
struct Decimal {
    std::string digits;
    int exponent = 0;
    bool zero = true;
};

// |value| from std::to_chars' scientific text "d.ddd...e+XX", as digits and exponent.
Decimal DecimalOfScientific(const char* p, const char* end) {
    Decimal x;
    while (p != end && *p != 'e') {
        if (*p >= '0' && *p <= '9') x.digits.push_back(*p);
        ++p;
    }
    int exponent = 0;
    if (p != end) {
        ++p;
        if (p != end && *p == '+') ++p;
        std::from_chars(p, end, exponent);
    }
    x.exponent = exponent;
    x.zero = false;
    return x;
}

// The platform's float-to-text conversion first rounds to 18 significant digits; everything
// after that rounds the decimal digits, never the binary value again.
Decimal ToDecimal18(double value) {
    if (value == 0) return Decimal{"0", 0, true};
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                             kStoredDigits - 1);
    return DecimalOfScientific(buf, res.ptr);
}

// |value| as its shortest round-trip decimal digits: those of the text it was read from.
Decimal ToDecimalShortest(double value) {
    if (value == 0) return Decimal{"0", 0, true};
    char buf[64];
    auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    return DecimalOfScientific(buf, res.ptr);
}

// Keeps `keep` significant digits, halves rounding away from zero (on the magnitude).
void RoundDigits(Decimal& x, int keep) {
    if (x.zero || keep >= int(x.digits.size())) return;
    if (keep < 0 || (keep == 0 && x.digits[0] < '5')) {
        x = Decimal{};
        x.digits = "0";
        return;
    }
    if (keep == 0) {
        // 0.5 units of the next higher place round up to one unit of it
        x.digits = "1";
        x.exponent += 1;
        return;
    }
    bool up = x.digits[keep] >= '5';
    x.digits.resize(keep);
    if (!up) return;
    int i = keep - 1;
    while (i >= 0 && x.digits[i] == '9') {
        x.digits[i] = '0';
        --i;
    }
    if (i >= 0) {
        ++x.digits[i];
    } else {
        x.digits.insert(x.digits.begin(), '1');
        x.digits.pop_back();
        x.exponent += 1;
    }
}

char DigitAt(const Decimal& x, int power) {
    // digit of 10^power
    int index = x.exponent - power;
    if (x.zero || index < 0 || index >= int(x.digits.size())) return '0';
    return x.digits[index];
}

// Fixed-point text of a rounded decimal with exactly `decimalCount` decimals.
std::string WriteFixed(bool negative, const Decimal& x, int decimalCount) {
    std::string out;
    if (negative) out.push_back('-');
    if (x.zero || x.exponent < 0) {
        out.push_back('0');
    } else {
        for (int power = x.exponent; power >= 0; --power) out.push_back(DigitAt(x, power));
    }
    if (decimalCount > 0) {
        out.push_back('.');
        for (int power = -1; power >= -decimalCount; --power) out.push_back(DigitAt(x, power));
    }
    return out;
}

std::string NonFinite(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Shortens a text for an error message; the full text stays in the exception.
std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 60;
    std::string out = "\"";
    out.append(text.substr(0, kShown));
    if (text.size() > kShown) out.append("...");
    out.push_back('"');
    return out;
}

std::string FieldSuffix(std::string_view field) {
    if (field.empty()) return {};
    return " (field " + std::string(field) + ")";
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

namespace {

std::string FixedOf(double value, int precision, int decimals, Decimal (*digitsOf)(double)) {
    if (!std::isfinite(value)) return NonFinite(value);
    precision = std::max(precision, 1);
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    Decimal x = digitsOf(value);
    // one rounding: to p significant digits or to d decimals, whichever keeps fewer
    long keep = std::min<long>(precision, long(x.exponent) + 1 + decimals);
    RoundDigits(x, int(std::max<long>(keep, -1)));
    if (!x.zero && x.exponent + 1 > precision) return general(value, precision);
    return WriteFixed(value < 0, x, decimals);
}

}  // namespace

std::string fixed(double value, int precision, int decimals) {
    return FixedOf(value, precision, decimals, ToDecimal18);
}

std::string fixedTyped(double value, int precision, int decimals) {
    return FixedOf(value, precision, decimals, ToDecimalShortest);
}

std::string general(double value, int precision) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (value == 0) return "0";
    precision = std::max(precision, 1);
    Decimal x = ToDecimal18(value);
    RoundDigits(x, precision);
    while (x.digits.size() > 1 && x.digits.back() == '0') x.digits.pop_back();

    std::string out;
    if (value < 0) out.push_back('-');
    if (x.exponent >= precision || x.exponent < -5) {
        out.push_back(x.digits[0]);
        if (x.digits.size() > 1) {
            out.push_back('.');
            out.append(x.digits, 1);
        }
        out.push_back('E');
        out.append(std::to_string(x.exponent));
        return out;
    }
    if (x.exponent < 0) {
        out.append("0.");
        out.append(std::size_t(-x.exponent - 1), '0');
        out.append(x.digits);
        return out;
    }
    for (int power = x.exponent; power >= 0; --power) out.push_back(DigitAt(x, power));
    if (int(x.digits.size()) > x.exponent + 1) {
        out.push_back('.');
        out.append(x.digits, std::size_t(x.exponent) + 1);
    }
    return out;
}

std::string decimals(double value, int d) {
    if (!std::isfinite(value)) return NonFinite(value);
    d = std::clamp(d, 0, kMaxDecimals);
    Decimal x = ToDecimal18(value);
    RoundDigits(x, std::max(x.exponent + 1 + d, -1));
    return WriteFixed(value < 0, x, d);
}

std::optional<double> parseReal(std::string_view text, bool acceptComma) {
    text = TrimBlanks(text);
    // Validate the whole grammar first: from_chars alone would take "inf", "nan" and prefixes.
    std::string normal;
    normal.reserve(text.size());
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int intDigits = 0, fracDigits = 0;
    long firstNonZero = 0;  // power of ten + 1 of the first non-zero mantissa digit
    bool seenNonZero = false;
    while (i < text.size() && IsDigit(text[i])) {
        if (!seenNonZero && text[i] != '0') seenNonZero = true;
        if (seenNonZero) ++firstNonZero;
        normal.push_back(text[i]);
        ++intDigits;
        ++i;
    }
    if (i < text.size() && (text[i] == '.' || (acceptComma && text[i] == ','))) {
        normal.push_back('.');
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            if (!seenNonZero) {
                if (text[i] != '0')
                    seenNonZero = true;
                else
                    --firstNonZero;
            }
            normal.push_back(text[i]);
            ++fracDigits;
            ++i;
        }
    }
    if (intDigits + fracDigits == 0) return std::nullopt;
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal.push_back('e');
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            normal.push_back(text[i]);
            ++i;
        }
        std::size_t expStart = i;
        while (i < text.size() && IsDigit(text[i])) {
            // saturate: only the order of magnitude matters beyond this
            if (exponent < 100000000) exponent = exponent * 10 + (text[i] - '0');
            normal.push_back(text[i]);
            ++i;
        }
        if (i == expStart) return std::nullopt;
        if (expNegative) exponent = -exponent;
    }
    if (i != text.size()) return std::nullopt;
    if (!seenNonZero) return negative ? -0.0 : 0.0;

    double value = 0;
    auto res = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // out of range either way: too large is an error, too small is zero
        if (firstNonZero + exponent > 0) return std::nullopt;
        value = 0;
    } else if (res.ec != std::errc() || res.ptr != normal.data() + normal.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> parseInt(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) return std::nullopt;
    // accumulate the magnitude in 64 bits so that -2147483648 is reachable
    long long magnitude = 0;
    for (char c : text) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 2147483648LL) return std::nullopt;
    }
    long long result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return std::nullopt;
    return int(result);
}

double toReal(std::string_view text, std::string_view field, bool acceptComma) {
    if (auto value = parseReal(text, acceptComma)) return *value;
    throw ConvertError(std::string(field), std::string(text),
                       Quoted(text) + " is not a valid number" + FieldSuffix(field));
}

int toInt(std::string_view text, std::string_view field) {
    if (auto value = parseInt(text)) return *value;
    throw ConvertError(std::string(field), std::string(text),
                       Quoted(text) + " is not a valid integer" + FieldSuffix(field));
}

}  // namespace umbrix
