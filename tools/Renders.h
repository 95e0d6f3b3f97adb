#pragma once
// The renders the tool offers, and rendering a page stream into a file with one of them,
// headless: no setup dialog, no progress window, errors as one line on standard error.
#include <memory>
#include <string>
#include <vector>

class TLxRender;
class TStream;

// One render of every format, registered (and so listed by the render registry) for the
// lifetime of this object.
class TToolRenders {
public:
  TToolRenders();
  ~TToolRenders();

  // The render whose file extension is Format ("txt"), or nullptr.
  TLxRender* FindByFormat(const std::string& Format) const;
  // The render whose file extension matches the extension of FileName, or nullptr.
  TLxRender* FindByFileName(const std::string& FileName) const;

private:
  std::vector<std::unique_ptr<TLxRender>> FRenders;
};

// The format names a render writes: its file-extension patterns without "*.": {"txt"}.
std::vector<std::string> RenderFormats(const TLxRender* Render);

// How to render: the output, the render chosen by --format or by the output's extension, the
// page range and NAME=VALUE options of the render.
struct TRenderRequest {
  std::string Output;
  std::string Format;
  std::string Pages;
  std::vector<std::string> Options;
};

// Reads --format F, --pages RANGE and -o NAME=VALUE (also --option) from Args[Index] on;
// false with Error set for anything else or a missing value.
bool ReadRenderArgument(const std::vector<std::string>& Args, size_t& Index, TRenderRequest& Request,
                        std::string& Error);
// Renders the page stream Stream as Request says. Prints the files written, or one line
// "pagepress COMMAND: ..." on failure. Returns the exit code.
int RenderStream(const std::string& Command, TStream* Stream, const TRenderRequest& Request);
