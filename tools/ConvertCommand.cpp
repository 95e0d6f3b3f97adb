// pagepress convert: renders a snapshot file (a page stream on disk) into another format,
// chosen by the output's extension or by --format.
#include <cstdio>
#include <memory>

#include "Commands.h"
#include "Renders.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage: pagepress convert INPUT.vsn OUTPUT [--format F] [--pages RANGE] [-o NAME=VALUE]...\n");
}

}  // namespace

int ConvertCommand(const TArguments& Args) {
  std::string input;
  TRenderRequest request;
  for (size_t i = 0; i < Args.size(); ++i) {
    if (Args[i].rfind("-", 0) != 0) {
      if (input.empty()) {
        input = Args[i];
      } else if (request.Output.empty()) {
        request.Output = Args[i];
      } else {
        Usage();
        return 2;
      }
      continue;
    }
    std::string error;
    if (!ReadRenderArgument(Args, i, request, error)) {
      std::fprintf(stderr, "pagepress convert: %s\n", error.c_str());
      Usage();
      return 2;
    }
  }
  if (input.empty() || request.Output.empty()) {
    Usage();
    return 2;
  }
  std::unique_ptr<TFileStream> stream;
  try {
    stream = std::make_unique<TFileStream>(input, fmOpenRead | fmShareDenyWrite);
  } catch (const Exception& e) {
    std::fprintf(stderr, "pagepress convert: %s\n", e.Message().c_str());
    return 1;
  }
  return RenderStream("convert", stream.get(), request);
}
