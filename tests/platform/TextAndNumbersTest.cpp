#include "platform/Cp1252.h"
#include "platform/NumberText.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

TEST(Cp1252, RoundTripsTheSpanishLettersAndTheHighBlock) {
    EXPECT_EQ(utf8ToCp1252("Español"), "Espa\xF1ol");
    EXPECT_EQ(utf8ToCp1252("Español").size(), 7u);
    EXPECT_EQ(cp1252ToUtf8("Espa\xF1ol"), "Español");
    EXPECT_EQ(cp1252ToUtf8("\x80\x93\x94"), "€“”");
    EXPECT_EQ(utf8ToCp1252("€“”"), "\x80\x93\x94");
    // Unassigned bytes survive a round trip; unmappable text becomes '?'.
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8("\x81\x9D")), "\x81\x9D");
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");  // truncated sequence
}

TEST(LeadingNumber, ReadsTheLongestLeadingDecimalNumber) {
    struct Row {
        const char* text;
        double value;
        bool found;
        bool whole;
    };
    const Row rows[] = {
        {"3", 3, true, true},          {" 3", 3, true, true},       {"1 2", 12, true, true},
        {"2.5", 2.5, true, true},      {"7abc", 7, true, false},     {"abc", 0, false, false},
        {"", 0, false, false},         {"\t4\n", 4, true, true},     {"-3", -3, true, true},
        {"1e2", 100, true, true},      {"1e", 1, true, false},       {"0304", 304, true, true},
        {".5", 0.5, true, true},       {"305x", 305, true, false},   {"+", 0, false, false},
    };
    for (const Row& row : rows) {
        const LeadingNumber number = readLeadingNumber(row.text);
        EXPECT_EQ(number.found, row.found) << '"' << row.text << '"';
        EXPECT_DOUBLE_EQ(number.value, row.value) << '"' << row.text << '"';
        EXPECT_EQ(number.whole, row.whole) << '"' << row.text << '"';
    }
}

TEST(NumberMasks, RoundHalfToEvenAndPadToTwoDigits) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(2.51), 3);
    EXPECT_EQ(twoDigits(5), "05");
    EXPECT_EQ(twoDigits(23), "23");
    EXPECT_EQ(maskZeroHash("7"), "07");
    EXPECT_EQ(maskZeroHash(" 7"), "07");
    EXPECT_EQ(maskZeroHash("12"), "12");
    EXPECT_EQ(maskZeroHash(""), "");
    EXPECT_EQ(maskZeroHash("ab"), "ab");
    EXPECT_EQ(maskZeroHash("7x"), "7x");
}

}  // namespace
}  // namespace durmivela
