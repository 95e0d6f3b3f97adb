// pagepress dump: a page stream (snapshot file) in words: the header, then each page with
// its records, one per line.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "platform/Conversions.h"
#include "platform/Stream.h"
#include "stream/VXStreamDump.h"

namespace {

void Usage() {
  std::fprintf(stderr, "usage: pagepress dump FILE.vsn [--page N]\n");
}

}  // namespace

int DumpCommand(const TArguments& Args) {
  std::string fileName;
  int page = 0;
  for (size_t i = 0; i < Args.size(); ++i) {
    if (Args[i] == "--page" && i + 1 < Args.size()) {
      if (!TryStrToInt(Args[++i], page) || page < 1) {
        std::fprintf(stderr, "pagepress dump: --page needs a page number from 1 on\n");
        return 2;
      }
    } else if (fileName.empty() && Args[i].rfind("--", 0) != 0) {
      fileName = Args[i];
    } else {
      Usage();
      return 2;
    }
  }
  if (fileName.empty()) {
    Usage();
    return 2;
  }
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  DumpPageStream(&stream, page, [](const std::string& Line) { std::printf("%s\n", Line.c_str()); });
  return 0;
}
