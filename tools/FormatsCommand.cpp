// pagepress formats: the renders the tool offers, as the render registry lists them.
#include <cstdio>

#include "Commands.h"
#include "Renders.h"
#include "platform/StringList.h"
#include "render/LxRender_Main.h"
#include "stream/VXRender.h"

int FormatsCommand(const TArguments& Args) {
  if (!Args.empty()) {
    std::fprintf(stderr, "usage: pagepress formats\n");
    return 2;
  }
  TToolRenders renders;
  TStringList list;
  GetRenderList(&list);
  for (int i = 0; i < list.Count(); ++i) {
    const auto* render = dynamic_cast<const TLxRender*>(list.Objects(i));
    std::string formats;
    if (render != nullptr) {
      for (const std::string& format : RenderFormats(render))
        formats += (formats.empty() ? "" : ",") + format;
    }
    std::printf("%-8s %s\n", formats.c_str(), list[i].c_str());
  }
  return 0;
}
