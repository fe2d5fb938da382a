// The output and input format tables.
#include "formats.h"

#include <gtest/gtest.h>

#include "identity.h"

namespace {

TEST(Formats, OutputTableFollowsTheExtensionList) {
  const auto& table = OutputFormatTable();
  ASSERT_EQ(table.size(), OutputExtensions().size());
  for (size_t i = 0; i < table.size(); ++i)
    EXPECT_EQ(table[i].extension, OutputExtensions()[i]);
  EXPECT_STREQ(FindOutputFormat("tiff")->description, "Tagged Image File Format");
  EXPECT_EQ(FindOutputFormat("psd")->formatId, 0x0439);
  EXPECT_EQ(FindOutputFormat("PNG"), nullptr);
  EXPECT_EQ(OutputFormatLabel("png"), "PNG (Portable Network Graphics)");
}

TEST(Formats, IsAllowedDepth) {
  struct Case {
    const char* ext;
    int depth;
    bool allowed;
  } cases[] = {{"png", 48, true}, {"png", 16, false}, {"jpg", 0, true},  {"xpm", 24, true},
               {"bmp", 1, true},  {"bmp", 2, false},  {"jxr", 96, true}, {"nope", 8, false},
               {"nope", 0, true}, {"tga", -8, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ext) + " " + std::to_string(c.depth));
    EXPECT_EQ(IsAllowedDepth(c.ext, c.depth), c.allowed);
  }
}

TEST(Formats, InputTable) {
  EXPECT_STREQ(FindInputFormat("hdri")->description, "High Dynamic Range File");
  EXPECT_STREQ(FindInputFormat("hdr")->family, "hdr");
  EXPECT_EQ(FindInputFormat("exr"), nullptr);
}

}  // namespace
