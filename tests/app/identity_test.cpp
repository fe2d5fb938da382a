// Program identity: version text, title and the extension lists.
#include "identity.h"

#include <gtest/gtest.h>

namespace {

TEST(Identity, VersionText) {
  EXPECT_EQ(VersionText(260), "2.6");
  EXPECT_EQ(VersionText(261), "2.6.1");
  EXPECT_EQ(VersionText(300), "3.0");
  EXPECT_EQ(TitleWithVersion(), "Brivanta HDR to IMAGE 2.6");
  EXPECT_EQ(VendorName(), "Brivanta");
}

TEST(Identity, ExtensionLists) {
  EXPECT_EQ(InputExtensions(), std::vector<std::string>{"hdr"});
  ASSERT_EQ(OutputExtensions().size(), 23u);
  EXPECT_EQ(OutputExtensions().front(), "bmp");
  EXPECT_EQ(OutputExtensions().back(), "xpm");
  EXPECT_EQ(OutputExtensionIndex("tiff"), 19);
  EXPECT_EQ(OutputExtensionIndex("PNG"), -1);
}

}  // namespace
