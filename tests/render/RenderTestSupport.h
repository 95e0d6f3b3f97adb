#pragma once
// Test helpers for the render library: a folder of its own for output files, reports
// recorded with the file engine, and reading files back.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/FileUtils.h"
#include "platform/Stream.h"
#include "stream/VXFiler.h"

// A new empty folder under the temporary folder, removed with its content at the end.
class TTempFolder {
public:
  TTempFolder() {
    static std::atomic<int> counter{0};
    FPath = GetTempPath() + "pagepress-render-" + std::to_string(getpid()) + "-" + std::to_string(++counter) +
            "/";
    std::filesystem::remove_all(FPath);
    ForceDirectories(FPath);
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::string& Path() const { return FPath; }
  std::string File(const std::string& Name) const { return FPath + Name; }
  // The names of the files in the folder, sorted.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FPath))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

private:
  std::string FPath;
};

inline std::string ReadFileBytes(const std::string& FileName) {
  std::ifstream file(FileName, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& FileName, const std::string& Bytes) {
  std::ofstream file(FileName, std::ios::binary | std::ios::trunc);
  file << Bytes;
}

// Records Body as a report into Stream (positioned at 0 afterwards).
inline void RecordReport(TMemoryStream& Stream, const std::function<void(TReportFiler&)>& Body,
                         const std::function<void(TReportFiler&)>& Setup = {}) {
  Stream.Clear();
  TReportFiler filer;
  filer.SetStreamMode(smUser);
  filer.SetStream(&Stream);
  if (Setup) Setup(filer);
  filer.OnPrint = [&](TObject*) { Body(filer); };
  filer.Execute();
  Stream.SetPosition(0);
}

// A report of Pages pages, each holding "Page n" at 1 inch from the left and the top.
inline void RecordPages(TMemoryStream& Stream, int Pages) {
  RecordReport(Stream, [Pages](TReportFiler& R) {
    for (int page = 1; page <= Pages; ++page) {
      if (page > 1) R.NewPage();
      R.PrintXY(1, 1, "Page " + std::to_string(page));
    }
  });
}
