// pagepress sample: records one of the example reports with the file engine and renders the
// page stream into OUTPUT, in the format its extension (or --format) names; an OUTPUT ending
// in .vsn is the snapshot itself.
#include <cstdio>

#include "Commands.h"
#include "Examples.h"
#include "Renders.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"
#include "platform/StringUtils.h"
#include "stream/VXFiler.h"

namespace {

void ListExamples() {
  std::printf("Examples (pagepress sample NAME OUTPUT):\n");
  for (const TExampleReport& example : ExampleReports())
    std::printf("  %-10s %s\n", example.Name, example.Description);
}

}  // namespace

int SampleCommand(const TArguments& Args) {
  if (Args.empty()) {
    ListExamples();
    return 0;
  }
  if (Args.size() < 2) {
    std::fprintf(stderr,
                 "usage: pagepress sample NAME OUTPUT [--format F] [--pages RANGE] [-o NAME=VALUE]...\n");
    return 2;
  }
  const TExampleReport* example = FindExampleReport(Args[0]);
  if (example == nullptr) {
    std::fprintf(stderr, "pagepress sample: no example named '%s'\n", Args[0].c_str());
    ListExamples();
    return 2;
  }
  TRenderRequest request;
  request.Output = Args[1];
  for (size_t i = 2; i < Args.size(); ++i) {
    std::string error;
    if (!ReadRenderArgument(Args, i, request, error)) {
      std::fprintf(stderr, "pagepress sample: %s\n", error.c_str());
      return 2;
    }
  }
  // A snapshot name keeps the recorded page stream itself.
  if (request.Format.empty() && SameText(ExtractFileExt(request.Output), ".vsn")) {
    TReportFiler filer;
    filer.SetStreamMode(smFile);
    filer.SetFileName(request.Output);
    example->Prepare(filer);
    filer.Execute();
    std::printf("wrote %s\n", request.Output.c_str());
    return 0;
  }
  TMemoryStream stream;
  TReportFiler filer;
  filer.SetStreamMode(smUser);
  filer.SetStream(&stream);
  example->Prepare(filer);
  filer.Execute();
  stream.SetPosition(0);
  return RenderStream("sample", &stream, request);
}
