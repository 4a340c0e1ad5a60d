#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace durmivela {
namespace {

bool isIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

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
    if (error == std::errc::result_out_of_range) value = std::numeric_limits<double>::infinity();
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
