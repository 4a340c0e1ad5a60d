// Numbers read from and written to text the way the program's files and
// controls expect them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace durmivela {

struct LeadingNumber {
    double value = 0;    // 0 when no number leads the text
    bool found = false;  // a number was read
    bool whole = false;  // the number, blanks aside, is the whole text
};

// Reads the longest leading decimal number (sign, digits, fraction, exponent).
// Blanks, tabs and line feeds are ignored wherever they stand.
LeadingNumber readLeadingNumber(std::string_view text);

// Rounds to the nearest whole number, a half to the even neighbour.
double roundHalfEven(double value);

// The mask "00": at least two digits with a leading zero.
std::string twoDigits(int value);

// The mask "0#": a text that reads as a whole number is written with at least
// two digits; any other text, the empty text included, is left unchanged.
std::string maskZeroHash(const std::string& text);

}  // namespace durmivela
