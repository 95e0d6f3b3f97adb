#pragma once
// Shared by the picture tests: scratch folders, external readers (ImageMagick, djpeg,
// python3) and byte builders for hand-made files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Color.h"

namespace picturetest {

// A folder under the system's temporary folder, removed with everything in it at the end.
class TScratchDir {
public:
  TScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pagepress-pictures-XXXXXX").string();
    if (mkdtemp(pattern.data())) FPath = pattern;
  }
  ~TScratchDir() {
    std::error_code ignored;
    if (!FPath.empty()) std::filesystem::remove_all(FPath, ignored);
  }
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;
  std::string File(const std::string& Name) const { return (std::filesystem::path(FPath) / Name).string(); }

private:
  std::string FPath;
};

inline bool HaveTool(const std::string& Name) {
  return std::system(("command -v " + Name + " >/dev/null 2>&1").c_str()) == 0;
}

struct TCommandResult {
  int ExitCode = -1;
  std::string Output;
};

// Runs a shell command and collects its standard output.
inline TCommandResult RunCommand(const std::string& Command) {
  TCommandResult result;
  FILE* pipe = popen(Command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.Output.append(buffer, n);
  int status = pclose(pipe);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& FileName, const std::vector<uint8_t>& Bytes) {
  std::ofstream out(FileName, std::ios::binary);
  out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

// A picture as an independent reader decoded it: width, height and 8-bit RGB, top row first.
struct TRgbRaster {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Rgb;
  TColor At(int X, int Y) const {
    size_t i = (static_cast<size_t>(Y) * Width + X) * 3;
    return RGB(Rgb[i], Rgb[i + 1], Rgb[i + 2]);
  }
};

// Decodes a file with ImageMagick; Width stays 0 when it cannot.
inline TRgbRaster ReadWithImageMagick(const std::string& FileName) {
  TRgbRaster raster;
  TCommandResult size = RunCommand("identify -format '%w %h\\n' '" + FileName + "[0]' 2>/dev/null");
  if (size.ExitCode != 0 || std::sscanf(size.Output.c_str(), "%d %d", &raster.Width, &raster.Height) != 2)
    return TRgbRaster{};
  TCommandResult pixels = RunCommand("convert '" + FileName + "[0]' -depth 8 rgb:- 2>/dev/null");
  if (pixels.ExitCode != 0 || pixels.Output.size() != static_cast<size_t>(raster.Width) * raster.Height * 3)
    return TRgbRaster{};
  raster.Rgb.assign(pixels.Output.begin(), pixels.Output.end());
  return raster;
}

// Parses a binary PPM (P6) or PGM (P5) as djpeg writes it; grey samples become R = G = B.
inline TRgbRaster ParsePnm(const std::string& Data, std::string* Magic = nullptr) {
  TRgbRaster raster;
  size_t pos = 0;
  auto token = [&]() {
    while (pos < Data.size() && (isspace(static_cast<unsigned char>(Data[pos])) || Data[pos] == '#')) {
      if (Data[pos] == '#')
        while (pos < Data.size() && Data[pos] != '\n') ++pos;
      else
        ++pos;
    }
    size_t start = pos;
    while (pos < Data.size() && !isspace(static_cast<unsigned char>(Data[pos]))) ++pos;
    return Data.substr(start, pos - start);
  };
  std::string magic = token();
  if (Magic) *Magic = magic;
  if (magic != "P5" && magic != "P6") return TRgbRaster{};
  raster.Width = std::stoi(token());
  raster.Height = std::stoi(token());
  token();  // maximum value
  ++pos;    // the single blank before the samples
  const size_t channels = magic == "P6" ? 3 : 1;
  const size_t count = static_cast<size_t>(raster.Width) * raster.Height;
  if (Data.size() - pos < count * channels) return TRgbRaster{};
  for (size_t i = 0; i < count; ++i)
    for (size_t c = 0; c < 3; ++c)
      raster.Rgb.push_back(static_cast<uint8_t>(Data[pos + i * channels + (channels == 3 ? c : 0)]));
  return raster;
}

// Little-endian byte builder for hand-made files.
class TBytes {
public:
  TBytes& U8(unsigned v) {
    FData.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  TBytes& U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
  TBytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  TBytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  TBytes& Raw(std::initializer_list<unsigned> bytes) {
    for (unsigned b : bytes) U8(b);
    return *this;
  }
  TBytes& Append(const std::vector<uint8_t>& bytes) {
    FData.insert(FData.end(), bytes.begin(), bytes.end());
    return *this;
  }
  TBytes& PadTo(size_t size) {
    while (FData.size() < size) FData.push_back(0);
    return *this;
  }
  size_t Size() const { return FData.size(); }
  void Put32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) FData[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  const std::vector<uint8_t>& Data() const { return FData; }

private:
  std::vector<uint8_t> FData;
};

}  // namespace picturetest
