// The typed-text layout against the independent model (tests/golden/typed_text.txt): the raster
// position of every character of a long typed text, bit for bit.
#include "gl_recorder.h"
#include "golden_data.h"
#include "text/text.h"

#include <gtest/gtest.h>

TEST(TypedTextGolden, EveryCharacterStandsWhereTheModelPlacesIt) {
    const std::vector<DataLine> lines = readDataLines("golden/typed_text.txt");
    ASSERT_GE(lines.size(), 300u);
    TypedText text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text.push_back(makeTypedChar(static_cast<unsigned char>(' ' + i % 95)));
    }
    setFont(nullptr);
    resetGlCalls();
    drawTypedText(text);
    const std::vector<GlCall> positions = glCallsNamed({"glRasterPos3f"});
    ASSERT_EQ(positions.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE("character " + lines[i].at(0));
        // The recorder widens the float arguments to double; narrowing them back is exact.
        EXPECT_EQ(hexBits(static_cast<float>(positions[i].args.at(0))), lines[i].at(1));
        EXPECT_EQ(hexBits(static_cast<float>(positions[i].args.at(1))), lines[i].at(2));
        EXPECT_EQ(positions[i].args.at(2), 0.0);
    }
}
