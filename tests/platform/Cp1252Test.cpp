#include "platform/Cp1252.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

// Every byte round-trips, the five Windows-1252 leaves undefined too (as the
// C1 controls of the same value, as the system does); what it cannot write
// becomes '?'.
TEST(Cp1252, EveryByteRoundTripsThroughUtf8AndTheRestIsMarked) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(one)), one) << byte;
    }
    EXPECT_EQ(cp1252ToUtf8("Espa\xF1ol \x80\x93\x94\x9F \x81"), "Español €“”Ÿ \xC2\x81");
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");  // truncated sequence
}

}  // namespace
}  // namespace durmivela
