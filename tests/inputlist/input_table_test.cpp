// The input list: adding files, relative folders, folder scans, list files and the history.
#include "input_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "files.h"
#include "folder_scan.h"
#include "progress.h"
#include "settings.h"
#include "temp_folder.h"

namespace {

class InputListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings(true);
    ResetInputList();
    gInput.consoleMode = true;
    gProgress.resultCount = 0;
    ResetProgress();
  }

  // A small non-empty file at dir_/name, folders made as needed.
  std::string Touch(const std::string& name, const std::string& content = "x") {
    std::string path = dir_ / name;
    for (size_t slash = path.find('/', dir_.path().size()); slash != std::string::npos;
         slash = path.find('/', slash + 1))
      MakeFolder(path.substr(0, slash));
    EXPECT_TRUE(WriteWholeFile(path, content.data(), content.size()));
    return path;
  }

  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const InputEntry& entry : gInput.table)
      paths.push_back(entry.path.substr(dir_.path().size()));
    return paths;
  }

  TempFolder dir_;
};

TEST_F(InputListTest, ExtensionRule) {
  const std::pair<const char*, const char*> cases[] = {
      {"/a/photo.HDR", "hdr"},
      {"/a/photo.hdri", "hdri"},
      {"/a/photo.hdr.txt", "txt"},
      {"/a/photo", ""},
      {"/a/.hdr", ""},
      {"/a/my.hdr folder/photo", ""},
      {"/a/x.hdr\"", "hdr"},
      {"photo.Ä", "ä"},
      {"/a.b/c", ""},
      {"", ""},
      {"x.", ""},
  };
  for (const auto& [path, ext] : cases)
    EXPECT_EQ(ExtensionOf(path), ext) << path;
}

TEST_F(InputListTest, AddInputFileTests) {
  const std::string a = Touch("a.hdr"), upper = Touch("A.hdr"), hdri = Touch("b.HDRI");
  const std::string empty = Touch("empty.hdr", ""), other = Touch("c.exr");
  EXPECT_TRUE(AddInputFile(a));
  EXPECT_FALSE(AddInputFile(a)) << "the same path twice";
  EXPECT_TRUE(AddInputFile(upper)) << "letter case makes another path";
  EXPECT_TRUE(AddInputFile(hdri));
  EXPECT_FALSE(AddInputFile(empty));
  EXPECT_FALSE(AddInputFile(other));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"a.hdr", "A.hdr", "b.HDRI"}))
      << "in the order added";
}

TEST_F(InputListTest, RelativeFolderOf) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"/in/sub/deep/p.hdr", "/in/", "sub/deep/"},
      {"/in/p.hdr", "/in/", ""},
      {"/other/p.hdr", "/in/", ""},
      {"/in/a/in/b/p.hdr", "/in/", "a/in/b/"},  // the root only counts at the start
      {"/x/in/p.hdr", "/in/", ""},
      {"\"/in/q/p.hdr", "/in/", "q/"},
      {"/in/q/p.hdr|/in/r/", "/in/", "q/"},
      {"/in/p.hdr", "", ""},
  };
  for (const auto& [path, root, relative] : cases)
    EXPECT_EQ(RelativeFolderOf(path, root), relative) << path;
}

TEST_F(InputListTest, WindowModeChoosesTheOutputFolderFromTheFirstFile) {
  gInput.consoleMode = false;
  std::string field;
  std::vector<std::string> rows;
  gInput.onRowAdded = [&](const std::string& path) { rows.push_back(path); };
  gInput.outputFieldText = [&] { return field; };
  gInput.refreshOutputFolders = [&] { field = gInput.OutputFolder; };
  const std::string x = Touch("shots/x.hdr"), y = Touch("elsewhere/y.hdr");
  ASSERT_TRUE(AddInputFile(x));
  EXPECT_EQ(gInput.OutputFolder, dir_ / "shots/");
  EXPECT_EQ(RecentFolderAt(0), dir_ / "shots/");
  ASSERT_TRUE(AddInputFile(y));
  EXPECT_EQ(gInput.OutputFolder, dir_ / "shots/") << "a second file does not change it";
  EXPECT_EQ(rows.size(), 2u);
  gInput = InputList{};
}

TEST_F(InputListTest, FolderImportCountsTopLevelEntries) {
  Touch("root/1.hdr"), Touch("root/2.hdr"), Touch("root/3.txt");
  Touch("root/sub/4.hdr"), Touch("root/sub/deeper/5.hdri"), Touch("root/other/6.hdr");
  gInput.InputRoot = dir_ / "root/";
  ImportFolderWorker();
  EXPECT_EQ(gProgress.processedCount, 5);
  EXPECT_EQ(gProgress.resultCount, 5);
  EXPECT_EQ(Paths(), (std::vector<std::string>{"root/1.hdr", "root/2.hdr", "root/other/6.hdr",
                                               "root/sub/4.hdr", "root/sub/deeper/5.hdri"}));
  std::vector<std::string> relative;
  for (const InputEntry& entry : gInput.table)
    relative.push_back(entry.relativeFolder);
  EXPECT_EQ(relative, (std::vector<std::string>{"", "", "other/", "sub/", "sub/deeper/"}));
}

TEST_F(InputListTest, FolderImportStopsWhenAsked) {
  Touch("root/1.hdr"), Touch("root/2.hdr");
  gInput.InputRoot = dir_ / "root/";
  gProgress.running = false;
  ImportFolderWorker();
  EXPECT_TRUE(gInput.table.empty());
}

// A link back up the tree would make the walk endless.
TEST_F(InputListTest, ScanDoesNotFollowLinksIntoFoldersBeingWalked) {
  Touch("root/a/1.hdr");
  ASSERT_EQ(symlink((dir_ / "root").c_str(), (dir_ / "root/a/up").c_str()), 0);
  ASSERT_EQ(symlink((dir_ / "root/a").c_str(), (dir_ / "root/side").c_str()), 0);
  EXPECT_EQ(ScanFolder(dir_ / "root/"), 2) << "a/1.hdr and, through the sideways link, side/1.hdr";
  gInput.InputRoot = dir_ / "root/";
  ImportFolderWorker();
  EXPECT_EQ(gProgress.resultCount, 0) << "both already in the list";
}

TEST_F(InputListTest, UnlistableFoldersContributeNothing) {
  EXPECT_EQ(ScanFolder(dir_ / "missing/"), 0);
  gInput.InputRoot = dir_ / "missing/";
  ImportFolderWorker();
  EXPECT_EQ(gProgress.processedCount, 0);
  EXPECT_EQ(gProgress.resultCount, 0);
}

// The same list in every encoding a list file may come in.
TEST_F(InputListTest, ListFilesInEveryEncoding) {
  const std::string a = Touch("in/a.hdr"), b = Touch("in/é.hdr"), c = Touch("tree/sub/c.hdr");
  const std::string text = "\r\n  " + a + "  \r\n\r\n" + dir_.path() + "missing.hdr\n" + b + "\r" +
                           dir_.path() + "tree\n" + a;  // the last line has no ending
  auto utf16 = [](const std::string& utf8, bool little) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
      unsigned char c0 = static_cast<unsigned char>(utf8[i]);
      char32_t cp = c0;
      int n = 1;
      if (c0 >= 0xC0)
        cp = ((c0 & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F), n = 2;
      const char low = static_cast<char>(cp & 0xFF), high = static_cast<char>(cp >> 8);
      out += little ? std::string{low, high} : std::string{high, low};
      i += static_cast<size_t>(n);
    }
    return out;
  };
  auto utf32 = [&](bool little) {
    std::string sixteen = utf16(text, true), out;
    for (size_t i = 0; i + 1 < sixteen.size(); i += 2) {
      std::string unit = {sixteen[i], sixteen[i + 1], '\0', '\0'};
      if (!little) unit = {'\0', '\0', sixteen[i + 1], sixteen[i]};
      out += unit;
    }
    return out;
  };
  const std::pair<const char*, std::string> files[] = {
      {"utf-8 without mark", text},
      {"utf-8", "\xEF\xBB\xBF" + text},
      {"utf-16 le", "\xFF\xFE" + utf16(text, true)},
      {"utf-16 be", "\xFE\xFF" + utf16(text, false)},
      {"utf-32 le", std::string("\xFF\xFE\0\0", 4) + utf32(true)},
      {"utf-32 be", std::string("\0\0\xFE\xFF", 4) + utf32(false)},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    SetUp();
    gInput.InputPath = Touch("list.txt", bytes);
    ImportListWorker();
    EXPECT_EQ(gProgress.processedCount, 4) << "blank lines and missing paths are not counted";
    EXPECT_EQ(gProgress.resultCount, 3);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"in/a.hdr", "in/é.hdr", "tree/sub/c.hdr"}));
  }
}

TEST_F(InputListTest, UnreadableListAddsNothing) {
  gInput.InputPath = dir_ / "nope.txt";
  ImportListWorker();
  EXPECT_EQ(gProgress.resultCount, 0);
}

TEST_F(InputListTest, RecentFolders) {
  gSettings.File.RecentOutFolders = "/A/\t/B/\t/C/\t/D/\t/E/";
  EXPECT_FALSE(AddRecentFolder(""));
  EXPECT_TRUE(AddRecentFolder("/c/"));
  EXPECT_EQ(gSettings.File.RecentOutFolders, "/c/\t/A/\t/B/\t/D/\t/E/");
  EXPECT_EQ(RecentFolderAt(4), "/E/");
  EXPECT_EQ(RecentFolderAt(5), "");
}

}  // namespace
