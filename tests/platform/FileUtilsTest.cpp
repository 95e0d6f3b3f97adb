#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "TempDir.h"
#include "platform/SysUtils.h"

namespace {

TEST(FileUtilsTest, FileNameParts) {
  struct Case {
    const char* name;
    const char* path;
    const char* dir;
    const char* file;
    const char* ext;
  };
  const Case cases[] = {
      {"/a/b/c.txt", "/a/b/", "/a/b", "c.txt", ".txt"},     {"c.tar.gz", "", "", "c.tar.gz", ".gz"},
      {"/a.dir/file", "/a.dir/", "/a.dir", "file", ""},     {"/root.pdf", "/", "/", "root.pdf", ".pdf"},
      {"rel/.hidden", "rel/", "rel", ".hidden", ".hidden"}, {"/a/b/", "/a/b/", "/a/b", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
    EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
    EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
    EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
  }
  EXPECT_EQ(ChangeFileExt("/a/report.vrp", ".pdf"), "/a/report.pdf");
  EXPECT_EQ(ChangeFileExt("/a.b/report", ".pdf"), "/a.b/report.pdf");
  EXPECT_EQ(ChangeFileExt("report.vrp", ""), "report");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp"), "/tmp/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp/"), "/tmp/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/tmp/"), "/tmp");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}

TEST(FileUtilsTest, ExpandFileNameIsAbsoluteAndNormal) {
  const std::string cwd = GetCurrentDir();
  EXPECT_EQ(ExpandFileName("x/../y.txt"), cwd + "/y.txt");
  EXPECT_EQ(ExpandFileName("/a/./b/../c"), "/a/c");
  EXPECT_EQ(ExpandFileName("."), cwd);
}

TEST(FileUtilsTest, FilesAndFolders) {
  TTempDir dir;
  const std::string deep = dir.File("one/two/three");
  EXPECT_FALSE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep + "/"));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_FALSE(FileExists(deep));
  EXPECT_FALSE(CreateDir(deep));  // exists already
  EXPECT_TRUE(CreateDir(deep + "/four"));

  const std::string file = dir.File("one/data.txt");
  { std::ofstream(file) << "12345"; }
  EXPECT_TRUE(FileExists(file));
  EXPECT_EQ(FileSize(file), 5);
  EXPECT_EQ(FileSize(dir.File("none")), -1);
  const std::string moved = dir.File("one/moved.txt");
  EXPECT_TRUE(RenameFile(file, moved));
  EXPECT_FALSE(FileExists(file));
  { std::ofstream(file) << "x"; }
  EXPECT_FALSE(RenameFile(file, moved));  // no silent replacement
  EXPECT_TRUE(DeleteFile(moved));
  EXPECT_FALSE(DeleteFile(moved));
  EXPECT_FALSE(ForceDirectories(""));
}

TEST(FileUtilsTest, TempPathFollowsTmpdir) {
  const char* old = std::getenv("TMPDIR");
  std::string saved = old != nullptr ? old : "";
  setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(GetTempPath(), "/var/tmp/");
  unsetenv("TMPDIR");
  EXPECT_EQ(GetTempPath(), "/tmp/");
  if (old != nullptr) setenv("TMPDIR", saved.c_str(), 1);
}

TEST(FileUtilsTest, TempFileNamesAreUniqueAndCreated) {
  TTempDir dir;
  const std::string first = GetTempFileName(dir.Path(), "LxVR");
  const std::string second = GetTempFileName(dir.Path(), "LxVR");
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  for (const std::string& name : {first, second}) {
    EXPECT_EQ(access(name.c_str(), F_OK), 0) << name;  // created, as the platform does
    EXPECT_EQ(FileSize(name), 0);
    EXPECT_EQ(ExtractFilePath(name), dir.Path() + "/");
    EXPECT_EQ(ExtractFileName(name).rfind("LxV", 0), 0u) << name;
    EXPECT_EQ(ExtractFileName(name).find("LxVR"), std::string::npos) << "three prefix characters only";
    EXPECT_EQ(ExtractFileExt(name), ".tmp");
  }
  EXPECT_EQ(GetTempFileName(dir.File("missing-folder"), "x"), "");
}

TEST(FileUtilsTest, UserNameIsTheLoginName) {
  const passwd* entry = getpwuid(geteuid());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(GetUserName(), entry->pw_name);
}

}  // namespace
