#pragma once
// Files, folders and file names. File names are UTF-8 (the file system's encoding); the path
// delimiter is '/'.
#include <cstdint>
#include <string>

constexpr char PathDelim = '/';

bool FileExists(const std::string& FileName);  // a file, not a folder
bool DirectoryExists(const std::string& Directory);
bool DeleteFile(const std::string& FileName);
bool RenameFile(const std::string& OldName, const std::string& NewName);
bool CreateDir(const std::string& Dir);
bool RemoveDir(const std::string& Dir);
// Creates Dir and its missing parents; true when Dir exists afterwards.
bool ForceDirectories(const std::string& Dir);
// Size in bytes, -1 when the file does not exist.
int64_t FileSize(const std::string& FileName);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& Dir);

// "/a/b/c.txt": path "/a/b/", dir "/a/b", name "c.txt", extension ".txt".
std::string ExtractFilePath(const std::string& FileName);
std::string ExtractFileDir(const std::string& FileName);
std::string ExtractFileName(const std::string& FileName);
std::string ExtractFileExt(const std::string& FileName);
// Extension includes the dot (".pdf"); "" removes the extension.
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
// The absolute, normalised form of FileName (relative to the current folder).
std::string ExpandFileName(const std::string& FileName);
std::string IncludeTrailingPathDelimiter(const std::string& S);
std::string ExcludeTrailingPathDelimiter(const std::string& S);

// The folder for temporary files: TMPDIR or /tmp, with a trailing '/'.
std::string GetTempPath();
// Creates a new empty file "<Dir>/<first three characters of Prefix><hex number>.tmp" that did
// not exist before and returns its name; "" when no name is free or Dir is not writable.
std::string GetTempFileName(const std::string& Dir, const std::string& Prefix);
// The login name of the user running the program.
std::string GetUserName();
