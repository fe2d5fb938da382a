// File-system helpers: sizes, folders, atomic writes and the per-user folder.
#include "files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_folder.h"

namespace {

TEST(Files, SizeTellsMissingFolderAndFileApart) {
  TempFolder dir;
  ASSERT_TRUE(WriteWholeFile(dir / "five", "12345", 5));
  ASSERT_TRUE(WriteWholeFile(dir / "empty", "", 0));
  EXPECT_EQ(FileSize(dir / "five"), 5);
  EXPECT_EQ(FileSize(dir / "empty"), 0);
  EXPECT_EQ(FileSize(dir / "missing"), -1);
  EXPECT_EQ(FileSize(dir.path()), -2);
}

TEST(Files, FailedWriteLeavesNoFile) {
  TempFolder dir;
  EXPECT_FALSE(WriteWholeFile(dir / "no/such/folder/file", "x", 1));
}

TEST(Files, WriteCutShortLikeAFullDiskLeavesNoFile) {
  TempFolder dir;
  const std::string path = dir / "big";
  // A file-size limit refuses the bytes past it, as a full disk would.
  pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string data(5000, 'x');
    _exit(WriteWholeFile(path, data.data(), data.size()) ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the short write was not noticed";
  EXPECT_FALSE(PathExists(path));
}

TEST(Files, FolderHelpers) {
  EXPECT_EQ(WithTrailingSlash("/a"), "/a/");
  EXPECT_EQ(WithTrailingSlash("/a/"), "/a/");
  EXPECT_EQ(WithTrailingSlash(""), "");
  EXPECT_EQ(FolderOf("/in/sub/x.hdr"), "/in/sub/");
  EXPECT_EQ(FolderOf("x.hdr"), "");
  EXPECT_EQ(ProgramFolder().back(), '/');
  EXPECT_TRUE(IsFolder(ProgramFolder()));
}

TEST(Files, UserFolderCreatesEveryMissingLevel) {
  TempFolder dir;
  const char* old = getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", (dir / "fresh/config").c_str(), 1);
  std::string folder = EnsureUserFolder("Brivanta", "lumaport");
  EXPECT_EQ(folder, dir / "fresh/config/Brivanta/lumaport/");
  EXPECT_TRUE(IsFolder(folder));
  // A second call finds the folders and changes nothing.
  EXPECT_EQ(EnsureUserFolder("Brivanta", "lumaport"), folder);
  if (old)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
