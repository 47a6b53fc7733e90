// Windows-1252 conversion of record-file strings and printed characters.
#include "core/cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, PrintedUnitCharacters) {
    EXPECT_EQ(cp1252::Chr(178), "\u00B2");
    EXPECT_EQ(cp1252::Chr(179), "\u00B3");
    EXPECT_EQ(cp1252::Chr(186), "\u00BA");
    EXPECT_EQ(cp1252::Chr(65), "A");
    EXPECT_EQ(cp1252::fromUtf8("\u00B2\u00B3\u00BA"), "\xB2\xB3\xBA");
    EXPECT_EQ(cp1252::toUtf8(cp1252::fromUtf8("ft\u00B2 m\u00B3 75\u00BAF")), "ft\u00B2 m\u00B3 75\u00BAF");
}

TEST(Cp1252, TheWindowsRangeBetween80And9F) {
    EXPECT_EQ(cp1252::fromUtf8("\u20AC"), "\x80");
    EXPECT_EQ(cp1252::fromUtf8("\u2122"), "\x99");
    EXPECT_EQ(cp1252::fromUtf8("\u0178"), "\x9F");
    EXPECT_EQ(cp1252::toUtf8("\x80\x85\x93\x94"), "\u20AC\u2026\u201C\u201D");
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(cp1252::Chr(undefined), "\uFFFD") << int(undefined);
    // Every defined byte survives the round trip.
    for (int b = 1; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(cp1252::fromUtf8(cp1252::toUtf8(one)), one) << b;
    }
}

TEST(Cp1252, UnmappableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(cp1252::fromUtf8("\u0394T"), "?T");    // Greek capital delta
    EXPECT_EQ(cp1252::fromUtf8("\U0001F600"), "?");  // outside the BMP
    EXPECT_EQ(cp1252::fromUtf8("\uFFFD"), "?");
    EXPECT_EQ(cp1252::fromUtf8("a\xC3"), "a?");          // cut short
    EXPECT_EQ(cp1252::fromUtf8("\xC0\xB2x"), "??x");     // overlong form
    EXPECT_EQ(cp1252::fromUtf8("\xED\xA0\x80"), "???");  // surrogate
    EXPECT_EQ(cp1252::fromUtf8("\xFF"), "?");
    EXPECT_EQ(cp1252::fromUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp1252, AnyTextBecomesValidUtf8ReadingStrayBytesAsTheCodePage) {
    EXPECT_EQ(cp1252::asUtf8("M\xC3\xBCller \xE2\x82\xAC"), "M\u00FCller \u20AC");  // valid UTF-8 stays
    EXPECT_EQ(cp1252::asUtf8("M\xFCller \x93"
                             "A\x94 \xC3 \xED\xA0\x80"),
              "M\u00FCller \u201CA\u201D \u00C3 \u00ED\u00A0\u20AC");
}
