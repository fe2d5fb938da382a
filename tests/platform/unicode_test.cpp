// Case mapping of UTF-8 text.
#include "unicode.h"

#include <gtest/gtest.h>

namespace {

TEST(Unicode, CaseMappingCoversNonAsciiLetters) {
  EXPECT_EQ(UpperCase("éclair ça"), "ÉCLAIR ÇA");
  EXPECT_EQ(LowerCase("ÉCLAIR"), "éclair");
  EXPECT_EQ(TitleCase("sUNSET"), "Sunset");
  EXPECT_EQ(TitleCase("éCLAIR"), "Éclair");
  EXPECT_EQ(TitleCase(""), "");
  EXPECT_EQ(AsciiUpper("abcé"), "ABCé");
}

TEST(Unicode, InvalidBytesPassThrough) {
  const std::string broken =
      "a\xff\xfe"
      "b";
  EXPECT_EQ(UpperCase(broken),
            "A\xff\xfe"
            "B");
}

}  // namespace
