#include "platform/Cp1252.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

// The five bytes Windows-1252 leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) too.
TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(one)), one) << byte;
    }
}

TEST(Cp1252, MapsTheSpanishLettersAndTheHighBlockAndMarksTheRest) {
    EXPECT_EQ(cp1252ToUtf8("Espa\xF1ol"), "Español");
    EXPECT_EQ(cp1252ToUtf8("\x80\x93\x94\x9F"), "€“”Ÿ");
    // The undefined bytes give the C1 controls of the same value, as the system does.
    EXPECT_EQ(cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");  // truncated sequence
}

}  // namespace
}  // namespace durmivela
