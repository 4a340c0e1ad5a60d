#include "platform/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace durmivela {
namespace {

bool isIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// For a number that a double cannot hold: true when it is too large, false
// when it is too small (its first significant digit lies after the point).
bool tooLargeForDouble(std::string_view number) {
    const std::size_t e = number.find('e');
    const std::string_view mantissa = number.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
        for (char c : digits) exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        if (negative) exponent = -exponent;
    }
    // Decimal order of the first significant digit: 0 for 1..9, -1 for 0.1..0.9.
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return false;  // all zeros
    const long long order =
        first < point ? static_cast<long long>(point - first - 1) : -static_cast<long long>(first - point);
    return order + exponent >= 0;
}

}  // namespace

LeadingNumber readLeadingNumber(std::string_view text) {
    std::size_t lastUsed = 0;  // index in text after the last character kept
    std::string number;
    std::size_t pos = 0;
    auto next = [&]() -> char {
        while (pos < text.size() && isIgnored(text[pos])) ++pos;
        return pos < text.size() ? text[pos] : '\0';
    };
    auto take = [&]() {
        number += text[pos++];
        lastUsed = pos;
    };

    bool negative = false;
    char c = next();
    if (c == '+' || c == '-') {
        negative = c == '-';
        ++pos;
        c = next();
    }
    bool digits = false;
    while (isDigit(c)) {
        take();
        digits = true;
        c = next();
    }
    if (c == '.') {
        const std::size_t before = pos;
        ++pos;
        std::string fraction;
        c = next();
        while (isDigit(c)) {
            fraction += text[pos++];
            lastUsed = pos;
            c = next();
        }
        if (!fraction.empty() || digits) {
            number += '.' + fraction;
            digits = digits || !fraction.empty();
            if (fraction.empty()) lastUsed = before + 1;
        } else {
            pos = before;
        }
    }
    LeadingNumber result;
    if (!digits) {
        result.whole = false;
        return result;
    }
    c = next();
    if (c == 'e' || c == 'E') {
        const std::size_t before = pos;
        std::string exponent = "e";
        ++pos;
        c = next();
        if (c == '+' || c == '-') {
            exponent += c;
            ++pos;
            c = next();
        }
        bool expDigits = false;
        std::size_t expEnd = pos;
        while (isDigit(c)) {
            exponent += text[pos++];
            expEnd = pos;
            expDigits = true;
            c = next();
        }
        if (expDigits) {
            number += exponent;
            lastUsed = expEnd;
        } else {
            pos = before;
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        value = tooLargeForDouble(number) ? std::numeric_limits<double>::infinity() : 0.0;
    (void)end;
    result.value = negative ? -value : value;
    result.found = true;
    std::size_t rest = lastUsed;
    while (rest < text.size() && isIgnored(text[rest])) ++rest;
    result.whole = rest == text.size();
    return result;
}

double roundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::string twoDigits(int value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

std::string maskZeroHash(const std::string& text) {
    const LeadingNumber number = readLeadingNumber(text);
    if (!number.found || !number.whole || !std::isfinite(number.value)) return text;
    const double rounded = roundHalfEven(number.value);
    if (std::fabs(rounded) > 2e9) return text;
    return twoDigits(static_cast<int>(rounded));
}

}  // namespace durmivela
