#include "platform/FileUtils.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

bool StatOf(const std::string& Name, struct stat& info) {
  return !Name.empty() && ::stat(Name.c_str(), &info) == 0;
}

// Index of the last path delimiter, or npos.
size_t LastDelimiter(const std::string& FileName) {
  return FileName.rfind(PathDelim);
}

// Index of the extension's dot, or npos when the name part has none.
size_t ExtensionDot(const std::string& FileName) {
  size_t dot = FileName.rfind('.');
  size_t delimiter = LastDelimiter(FileName);
  if (dot == std::string::npos || (delimiter != std::string::npos && dot < delimiter))
    return std::string::npos;
  return dot;
}

}  // namespace

bool FileExists(const std::string& FileName) {
  struct stat info {};
  return StatOf(FileName, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& Directory) {
  struct stat info {};
  return StatOf(Directory, info) && S_ISDIR(info.st_mode);
}

bool DeleteFile(const std::string& FileName) {
  return ::unlink(FileName.c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName) {
  // The platform refuses to replace an existing file.
  if (FileExists(NewName) || DirectoryExists(NewName)) return false;
  return std::rename(OldName.c_str(), NewName.c_str()) == 0;
}

bool CreateDir(const std::string& Dir) {
  return ::mkdir(Dir.c_str(), 0777) == 0;
}

bool RemoveDir(const std::string& Dir) {
  return ::rmdir(Dir.c_str()) == 0;
}

bool ForceDirectories(const std::string& Dir) {
  if (Dir.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(ExcludeTrailingPathDelimiter(Dir), error);
  return DirectoryExists(Dir);
}

int64_t FileSize(const std::string& FileName) {
  struct stat info {};
  if (!StatOf(FileName, info) || S_ISDIR(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

std::string GetCurrentDir() {
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

bool SetCurrentDir(const std::string& Dir) {
  return ::chdir(Dir.c_str()) == 0;
}

std::string ExtractFilePath(const std::string& FileName) {
  size_t delimiter = LastDelimiter(FileName);
  return delimiter == std::string::npos ? "" : FileName.substr(0, delimiter + 1);
}

std::string ExtractFileDir(const std::string& FileName) {
  size_t delimiter = LastDelimiter(FileName);
  if (delimiter == std::string::npos) return "";
  // The root keeps its delimiter: it is a folder name by itself.
  return delimiter == 0 ? FileName.substr(0, 1) : FileName.substr(0, delimiter);
}

std::string ExtractFileName(const std::string& FileName) {
  size_t delimiter = LastDelimiter(FileName);
  return delimiter == std::string::npos ? FileName : FileName.substr(delimiter + 1);
}

std::string ExtractFileExt(const std::string& FileName) {
  size_t dot = ExtensionDot(FileName);
  return dot == std::string::npos ? "" : FileName.substr(dot);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
  size_t dot = ExtensionDot(FileName);
  return (dot == std::string::npos ? FileName : FileName.substr(0, dot)) + Extension;
}

std::string ExpandFileName(const std::string& FileName) {
  if (FileName.empty()) return "";
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(FileName, error);
  if (error) return FileName;
  std::string result = absolute.lexically_normal().string();
  // "dir/." normalises to "dir/"; keep the name without the delimiter unless it is the root.
  if (result.size() > 1 && result.back() == PathDelim && FileName.back() != PathDelim) result.pop_back();
  return result;
}

std::string IncludeTrailingPathDelimiter(const std::string& S) {
  return !S.empty() && S.back() == PathDelim ? S : S + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& S) {
  return S.size() > 1 && S.back() == PathDelim ? S.substr(0, S.size() - 1) : S;
}

std::string GetTempPath() {
  const char* dir = std::getenv("TMPDIR");
  return IncludeTrailingPathDelimiter(dir != nullptr && *dir != '\0' ? dir : "/tmp");
}

std::string GetTempFileName(const std::string& Dir, const std::string& Prefix) {
  const std::string folder = IncludeTrailingPathDelimiter(Dir.empty() ? GetCurrentDir() : Dir);
  const std::string prefix = Prefix.substr(0, 3);
  // The numbers are 16-bit as on the platform; starting from a clock- and process-dependent
  // point keeps concurrent programs from walking the same sequence.
  auto ticks = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  uint32_t start = static_cast<uint32_t>(ticks ^ (static_cast<uint64_t>(::getpid()) << 16)) & 0xFFFF;
  for (uint32_t step = 0; step < 0x10000; ++step) {
    uint32_t number = (start + step) & 0xFFFF;
    if (number == 0) continue;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", number);
    std::string name = folder + prefix + hex + ".tmp";
    int handle = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (handle >= 0) {
      ::close(handle);
      return name;
    }
    if (errno != EEXIST) return "";
  }
  return "";
}

std::string GetUserName() {
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
      found->pw_name != nullptr)
    return found->pw_name;
  for (const char* variable : {"USER", "LOGNAME"})
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') return value;
  return "";
}
