// The tool's renders and headless rendering of a page stream.
#include "Renders.h"

#include <cstdio>
#include <functional>

#include "platform/Conversions.h"
#include "platform/FileUtils.h"
#include "platform/ScriptedDialogService.h"
#include "platform/Stream.h"
#include "platform/StringUtils.h"
#include "render/LxRender_Document.h"
#include "writers/LxRender_PDF.h"
#include "writers/LxRender_Text.h"

namespace {

// One line of a message that may hold line breaks.
std::string OneLine(const std::string& Text) {
  std::string line;
  for (char c : Text) {
    if (c == '\r' || c == '\n') {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else {
      line += c;
    }
  }
  return Trim(line);
}

bool ReadBool(const std::string& Value, bool& Result) {
  if (SameText(Value, "true") || Value == "1" || SameText(Value, "yes")) {
    Result = true;
    return true;
  }
  if (SameText(Value, "false") || Value == "0" || SameText(Value, "no")) {
    Result = false;
    return true;
  }
  return false;
}

bool ReadLineSpacing(const std::string& Value, TTextLineSpacing& Result) {
  static const char* const Names[] = {"lsActual",     "lsNoBlank",   "lsOneBlank", "lsTwoBlank",
                                      "lsThreeBlank", "lsFourBlank", "lsFiveBlank"};
  for (int i = 0; i <= lsFiveBlank; ++i) {
    // Both "lsOneBlank" and "OneBlank" are understood.
    if (SameText(Value, Names[i]) || SameText(Value, Names[i] + 2)) {
      Result = static_cast<TTextLineSpacing>(i);
      return true;
    }
  }
  return false;
}

bool ApplyTextOption(TLxRenderText* Render, const std::string& Name, const std::string& Value) {
  bool flag = false;
  if (SameText(Name, "LineSpacing")) {
    TTextLineSpacing spacing = lsOneBlank;
    if (!ReadLineSpacing(Value, spacing)) return false;
    Render->SetLineSpacing(spacing);
    return true;
  }
  if (!ReadBool(Value, flag)) return false;
  if (SameText(Name, "PageBreaks")) {
    Render->SetPageBreaks(flag);
  } else if (SameText(Name, "PageEndLines")) {
    Render->SetPageEndLines(flag);
  } else if (SameText(Name, "SeparateFilePerPage")) {
    Render->SetSeparateFilePerPage(flag);
  } else {
    return false;
  }
  return true;
}

// Options every document render (PDF and the other document formats) shares.
bool ApplyDocumentOption(TLxRenderDocument* Render, const std::string& Name, const std::string& Value) {
  if (SameText(Name, "Author")) {
    Render->SetAuthor(Value);
    return true;
  }
  if (SameText(Name, "Creator")) {
    Render->SetCreator(Value);
    return true;
  }
  if (SameText(Name, "Keywords")) {
    Render->SetKeywords(Value);
    return true;
  }
  bool flag = false;
  if (!ReadBool(Value, flag)) return false;
  if (SameText(Name, "IncludeLines")) {
    Render->SetIncludeLines(flag);
  } else if (SameText(Name, "IncludeNonRectShapes")) {
    Render->SetIncludeNonRectShapes(flag);
  } else if (SameText(Name, "IncludeImages")) {
    Render->SetIncludeImages(flag);
  } else {
    return false;
  }
  return true;
}

// NAME=VALUE for Render; false when the render has no such option or the value does not fit.
bool ApplyOption(TLxRender* Render, const std::string& Option) {
  const size_t equals = Option.find('=');
  if (equals == std::string::npos) return false;
  const std::string name = Trim(Option.substr(0, equals));
  const std::string value = Trim(Option.substr(equals + 1));
  if (auto* text = dynamic_cast<TLxRenderText*>(Render)) return ApplyTextOption(text, name, value);
  if (auto* document = dynamic_cast<TLxRenderDocument*>(Render)) return ApplyDocumentOption(document, name, value);
  return false;
}

}  // namespace

// ===== The renders =====

TToolRenders::TToolRenders() {
  FRenders.push_back(std::make_unique<TLxRenderText>());
  FRenders.push_back(std::make_unique<TLxRenderPDF>());
}

TToolRenders::~TToolRenders() = default;

std::vector<std::string> RenderFormats(const TLxRender* Render) {
  std::vector<std::string> formats;
  const std::string& patterns = Render->FileExtension();
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string pattern = Trim(patterns.substr(start, end - start));
    const size_t dot = pattern.find('.');
    if (dot != std::string::npos && dot + 1 < pattern.size()) formats.push_back(pattern.substr(dot + 1));
    start = end + 1;
  }
  return formats;
}

TLxRender* TToolRenders::FindByFormat(const std::string& Format) const {
  for (const auto& render : FRenders) {
    for (const std::string& format : RenderFormats(render.get())) {
      if (SameText(format, Format)) return render.get();
    }
  }
  return nullptr;
}

TLxRender* TToolRenders::FindByFileName(const std::string& FileName) const {
  const std::string extension = ExtractFileExt(FileName);
  if (extension.size() < 2) return nullptr;
  return FindByFormat(extension.substr(1));
}

// ===== Arguments =====

bool ReadRenderArgument(const std::vector<std::string>& Args, size_t& Index, TRenderRequest& Request,
                        std::string& Error) {
  const std::string& argument = Args[Index];
  std::string* target = nullptr;
  if (argument == "--format") {
    target = &Request.Format;
  } else if (argument == "--pages") {
    target = &Request.Pages;
  } else if (argument == "-o" || argument == "--option") {
    Request.Options.emplace_back();
    target = &Request.Options.back();
  } else {
    Error = "unknown option '" + argument + "'";
    return false;
  }
  if (Index + 1 >= Args.size()) {
    Error = argument + " needs a value";
    return false;
  }
  *target = Args[++Index];
  return true;
}

// ===== Rendering =====

int RenderStream(const std::string& Command, TStream* Stream, const TRenderRequest& Request) {
  const std::string prefix = "pagepress " + Command + ": ";
  TToolRenders renders;
  TLxRender* render =
      Request.Format.empty() ? renders.FindByFileName(Request.Output) : renders.FindByFormat(Request.Format);
  if (render == nullptr) {
    const std::string what = Request.Format.empty() ? "files like '" + ExtractFileName(Request.Output) + "'"
                                                    : "'" + Request.Format + "'";
    std::fprintf(stderr, "%sno render writes %s (see pagepress formats)\n", prefix.c_str(), what.c_str());
    return 2;
  }
  // Headless: every question the render would ask is answered here, and errors it would
  // show in a box are collected.
  TScriptedDialogService dialogs;
  render->SetShowSetupDialog(false);
  render->SetShowProgress(false);
  for (const std::string& option : Request.Options) {
    if (!ApplyOption(render, option)) {
      std::fprintf(stderr, "%sthe %s render has no option '%s'\n", prefix.c_str(),
                   render->DisplayName().c_str(), option.c_str());
      return 2;
    }
  }
  if (!Request.Pages.empty()) {
    render->SetPages(Request.Pages);
    if (dialogs.Count(dkShowError) > 0) {
      std::fprintf(stderr, "%s%s\n", prefix.c_str(), OneLine(dialogs.Last(dkShowError).Text).c_str());
      return 2;
    }
  }
  try {
    render->PrintRender(Stream, Request.Output);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%snot a readable snapshot: %s\n", prefix.c_str(), OneLine(e.Message()).c_str());
    return 1;
  }
  if (dialogs.Count(dkShowError) > 0) {
    const TStringList* files = render->OutputFiles();
    const std::string file = files->Count() > 0 ? files->Strings(files->Count() - 1) + ": " : std::string();
    std::fprintf(stderr, "%s%s%s\n", prefix.c_str(), file.c_str(),
                 OneLine(dialogs.Last(dkShowError).Text).c_str());
    return 1;
  }
  if (render->Cancelled()) {
    std::fprintf(stderr, "%sthe render was cancelled\n", prefix.c_str());
    return 1;
  }
  for (int i = 0; i < render->OutputFiles()->Count(); ++i)
    std::printf("wrote %s\n", render->OutputFiles()->Strings(i).c_str());
  return 0;
}
