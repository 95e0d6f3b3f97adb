#pragma once
// The object layer of a PDF file: object numbers, the objects as they reach the file, the
// offsets the cross-reference table needs, and the table and trailer that close the file.
//
// Numbers 1 to 5 are fixed (catalog, page tree, information dictionary, procedure set, the
// resources every page shares); every other number is handed out in the order it is asked
// for, starting at 6. The table lists the objects by number, not in the order written.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TStream;

constexpr int PdfCatalogObject = 1;
constexpr int PdfPagesObject = 2;
constexpr int PdfInfoObject = 3;
constexpr int PdfProcSetObject = 4;
constexpr int PdfResourcesObject = 5;

class TLxPdfFile {
public:
  // Writes to Output (not owned) from its current position; offsets count from there.
  explicit TLxPdfFile(TStream* Output);
  TLxPdfFile(const TLxPdfFile&) = delete;
  TLxPdfFile& operator=(const TLxPdfFile&) = delete;

  // The last number handed out (5 before the first).
  int NextObject() const { return FNextObject; }
  // Hands out the next number.
  int NewObject() { return ++FNextObject; }

  // "%PDF-1.3" and the comment of four bytes above 127 that marks the file as binary.
  void WriteHeader();
  // Writes "n 0 obj", the body and, when Closed, "endobj". A body holding a line break is a
  // dictionary and is wrapped in "<<" and ">>"; a bare number or array is written as it is.
  void WriteObject(int Number, const std::string& Body, bool Closed);
  // Bytes written directly (stream data, the rest of an object left open).
  void Write(const std::string& Bytes);
  void Write(const void* Data, int64_t Count);
  // Records that object Number starts at Offset (objects written in one block, as the
  // images of a page are).
  void AddXrefEntry(int Number, int64_t Offset);
  // Bytes written so far.
  int64_t Length() const { return FLength; }

  // The cross-reference table over objects 0 to NextObject and the trailer naming the
  // catalog and the information dictionary. Nothing follows "%%EOF".
  void WriteXrefAndTrailer();

  // (offset, object number) of every object, in the order written.
  const std::vector<std::pair<int64_t, int>>& XrefEntries() const { return FXrefEntries; }

private:
  TStream* FOutput;
  int64_t FLength = 0;
  int FNextObject = 5;
  std::vector<std::pair<int64_t, int>> FXrefEntries;
};
