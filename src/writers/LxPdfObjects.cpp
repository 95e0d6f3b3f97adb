#include "writers/LxPdfObjects.h"

#include <cstdio>

#include "platform/Stream.h"
#include "writers/LxPdfSyntax.h"

namespace {

// One 20-byte table entry: ten-digit offset, five-digit generation, kind, CR LF.
std::string XrefLine(int64_t Offset, int Generation, char Kind) {
  char line[32];
  std::snprintf(line, sizeof line, "%.10lld %.5d %c\r\n", static_cast<long long>(Offset), Generation, Kind);
  return line;
}

}  // namespace

TLxPdfFile::TLxPdfFile(TStream* Output) : FOutput(Output) {}

void TLxPdfFile::WriteHeader() {
  Write(std::string("%PDF-1.3") + PdfEol);
  const char binaryMark[] = {'%', '\xE2', '\xE3', '\xCF', '\xD3', '\r', '\n'};
  Write(binaryMark, sizeof binaryMark);
}

void TLxPdfFile::WriteObject(int Number, const std::string& Body, bool Closed) {
  std::string text = std::to_string(Number) + " 0 obj" + PdfEol;
  if (Body.find(PdfEol) != std::string::npos)
    text += std::string("<<") + PdfEol + Body + PdfEol + ">>";
  else
    text += Body;
  text += PdfEol;
  if (Closed) text += std::string("endobj") + PdfEol;
  AddXrefEntry(Number, FLength);
  Write(text);
}

void TLxPdfFile::Write(const std::string& Bytes) {
  Write(Bytes.data(), static_cast<int64_t>(Bytes.size()));
}

void TLxPdfFile::Write(const void* Data, int64_t Count) {
  if (Count <= 0) return;
  FOutput->WriteBuffer(Data, Count);
  FLength += Count;
}

void TLxPdfFile::AddXrefEntry(int Number, int64_t Offset) {
  FXrefEntries.emplace_back(Offset, Number);
}

void TLxPdfFile::WriteXrefAndTrailer() {
  const int64_t startXref = FLength;
  const int size = FNextObject + 1;
  // By number: objects are written out of order (the page tree near the end, pages first).
  std::vector<int64_t> offsets(static_cast<size_t>(size), -1);
  for (const auto& [offset, number] : FXrefEntries)
    if (number > 0 && number < size) offsets[static_cast<size_t>(number)] = offset;

  std::string text = std::string("xref") + PdfEol + "0 " + std::to_string(size) + PdfEol;
  text.reserve(text.size() + static_cast<size_t>(size) * 20 + 128);
  text += XrefLine(0, 65535, 'f');
  for (int n = 1; n < size; ++n) {
    const int64_t offset = offsets[static_cast<size_t>(n)];
    // A number handed out but never written would otherwise point into nowhere.
    text += offset >= 0 ? XrefLine(offset, 0, 'n') : XrefLine(0, 65535, 'f');
  }
  text += std::string("trailer") + PdfEol + "<<" + PdfEol;
  text += "/Root " + PdfReference(PdfCatalogObject) + PdfEol;
  text += "/Info " + PdfReference(PdfInfoObject) + PdfEol;
  text += "/Size " + std::to_string(size) + PdfEol;
  text += std::string(">>") + PdfEol + "startxref" + PdfEol + std::to_string(startXref) + PdfEol + "%%EOF";
  Write(text);
}
