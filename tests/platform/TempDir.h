#pragma once
// A private folder under the temporary directory for one test, removed afterwards.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

class TTempDir {
public:
  TTempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FPath = std::filesystem::temp_directory_path() / (std::string("pagepress-") + info->test_suite_name() +
                                                      "-" + info->name() + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(FPath);
    std::filesystem::create_directories(FPath);
  }
  ~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  std::string Path() const { return FPath.string(); }
  std::string File(const std::string& name) const { return (FPath / name).string(); }

private:
  std::filesystem::path FPath;
};
