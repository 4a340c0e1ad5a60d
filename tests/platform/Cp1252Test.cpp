#include "platform/Cp1252.h"

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

}  // namespace
}  // namespace durmivela
