#include "cells/TextEscape.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextEscape, EscapesPercentAndBytesWithoutPrintableFormAndStopsAtLowControls) {
    struct Case {
        std::string bytes, text;
    } cases[] = {
        {"A%B", "A%%B"},
        {"A\xB0", "A%B0"},
        {std::string("A\x05"
                     "B"),
         "A"},
        {std::string("\x10\x1F\x7F\xFF", 4), "%10%1F%7F%FF"},
        {std::string("\0A", 2), ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EscapeText(c.bytes), c.text) << c.text;
}

TEST(TextEscape, EscapesAtMost255Bytes) {
    EXPECT_EQ(EscapeText(std::string(300, 'x')).size(), 255u);
    EXPECT_EQ(EscapeText(std::string(300, '\xB0')), [] {
        std::string s;
        for (int i = 0; i < 255; ++i)
            s += "%B0";
        return s;
    }());
}

TEST(TextEscape, UnescapesValidEscapesAndKeepsEveryOtherPercent) {
    struct Case {
        std::string text, bytes;
    } cases[] = {
        {"%41", "A"},
        {"%05", "%05"},
        {"%0f", "%0f"},
        {"%%", "%"},
        {"%G1", "%G1"},
        {"ab%", "ab%"},
        {"%4", "%4"},
        {"%b0%1f", "\xB0\x1F"},
        {"%%41", "%41"},
        {std::string("a\x01\x1F"
                     "b"),
         "a  b"},
        {"\xE9", "\xE9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnescapeText(c.text), c.bytes) << c.text;
}

TEST(TextEscape, UnescapeReadsAt255CharactersAndAnEscapeMustEndWithinThem) {
    std::string text(253, 'a');
    EXPECT_EQ(UnescapeText(text + "%41"), text + "%4");
    EXPECT_EQ(UnescapeText(std::string(252, 'a') + "%41xyz"), std::string(252, 'a') + "A");
}

TEST(TextEscape, EveryTextSurvivesEscapingAndUnescaping) {
    std::string bytes;
    for (int c = 16; c <= 255; ++c)
        bytes += static_cast<char>(c);
    for (size_t at = 0; at < bytes.size(); at += 60) {
        const std::string part = bytes.substr(at, 60);
        EXPECT_EQ(UnescapeText(EscapeText(part)), part);
    }
}

TEST(TextEscape, CharacterClasses) {
    for (int c = 0; c <= 255; ++c) {
        EXPECT_EQ(IsLowControl(c), c <= 15) << c;
        EXPECT_EQ(IsUserChar(c), c >= 16 && c <= 31) << c;
        EXPECT_EQ(IsTextChar(c), c >= 32) << c;
        EXPECT_EQ(IsEscapable(c), (c >= 16 && c <= 31) || c >= 127) << c;
    }
}
