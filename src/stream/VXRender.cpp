// TVXRender, TVXRenderStream and the render registry. The converter is in
// VXRenderConverter.cpp.
#include "stream/VXRender.h"

#include <algorithm>
#include <utility>

#include "platform/Stream.h"
#include "platform/StringList.h"

// ===== Render registry =====

namespace {

struct TRenderEntry {
  std::string Name;
  TVXRender* Render;
};

// Created when the first render registers and destroyed when the last one leaves.
std::unique_ptr<std::vector<TRenderEntry>>& RenderRegistry() {
  static std::unique_ptr<std::vector<TRenderEntry>> registry;
  return registry;
}

}  // namespace

void RegisterRender(const std::string& Name, TVXRender* Render) {
  auto& registry = RenderRegistry();
  if (!registry) registry = std::make_unique<std::vector<TRenderEntry>>();
  registry->push_back({Name, Render});
}

void UnregisterRender(const std::string& /*Name*/, TVXRender* Render) {
  auto& registry = RenderRegistry();
  if (!registry) return;
  const auto entry = std::find_if(registry->begin(), registry->end(),
                                  [Render](const TRenderEntry& E) { return E.Render == Render; });
  if (entry != registry->end()) registry->erase(entry);
  if (registry->empty()) registry.reset();
}

void GetRenderList(TStrings* Strings) {
  Strings->Clear();
  const auto& registry = RenderRegistry();
  if (!registry) return;
  for (const TRenderEntry& entry : *registry) {
    if (entry.Render->Active()) Strings->AddObject(entry.Render->DisplayName(), entry.Render);
  }
}

std::string GetRenderFilter() {
  std::string filter;
  const auto& registry = RenderRegistry();
  if (!registry) return filter;
  for (const TRenderEntry& entry : *registry) {
    if (!entry.Render->Active()) continue;
    if (!filter.empty()) filter += '|';
    filter += entry.Render->DisplayName() + "|" + entry.Render->FileExtension();
  }
  return filter;
}

// ===== TVXRender =====

TVXRender::TVXRender(TComponent* AOwner) : TVXComponent(AOwner) {
  SetDisplayName("VXRender");
}

TVXRender::~TVXRender() {
  UnregisterRender(FDisplayName, this);
}

void TVXRender::SetDisplayName(const std::string& Value) {
  UnregisterRender(FDisplayName, this);
  FDisplayName = Value;
  RegisterRender(FDisplayName, this);
}

void TVXRender::Arc(double, double, double, double, double, double, double, double) {}
void TVXRender::BrushChanged() {}
void TVXRender::Chord(double, double, double, double, double, double, double, double) {}
void TVXRender::CenterText(const std::string&, double, double) {}
void TVXRender::Ellipse(double, double, double, double) {}
void TVXRender::FontChanged() {}
void TVXRender::LeftText(const std::string&, double, double) {}
void TVXRender::LineTo(double, double) {}
void TVXRender::MoveTo(double, double) {}
void TVXRender::Pie(double, double, double, double, double, double, double, double) {}
void TVXRender::RightText(const std::string&, double, double) {}
void TVXRender::PenChanged() {}
void TVXRender::PrintImageRect(TStream*, const std::string&, double, double, double, double) {}
void TVXRender::PrintBitmapRect(TBitmap*, double, double, double, double) {}
void TVXRender::PrintBitmap(TBitmap*, double, double, double, double) {}
void TVXRender::StretchDraw(const TRect&, TGraphic*) {}
void TVXRender::Draw(TGraphic*, double, double) {}
void TVXRender::PrintSpaces(const std::string&, double, double, double) {}
void TVXRender::Rectangle(double, double, double, double) {}
void TVXRender::FillRect(const TRect&) {}
void TVXRender::TextRect(const TRect&, double, double, const std::string&) {}
void TVXRender::RoundRect(double, double, double, double, double, double) {}
void TVXRender::DocBegin() {}
void TVXRender::DocEnd() {}
void TVXRender::PageBegin() {}
void TVXRender::PageEnd() {}
void TVXRender::PrintRender(TStream*, const std::string&) {}

void TVXRender::GenerationFailed() {
  FFailed = true;
}

void TVXRender::BetweenOperations() {}

// ===== TVXRenderStream =====

TVXRenderStream::TVXRenderStream(TComponent* AOwner) : TVXRender(AOwner) {}

TVXRenderStream::~TVXRenderStream() = default;

void TVXRenderStream::Print(const std::string& S) {
  if (S.empty() || FOutputStream == nullptr) return;
  FOutputStream->WriteBuffer(S.data(), static_cast<int64_t>(S.size()));
}

void TVXRenderStream::PrintF(const std::string& Fmt, const std::vector<TVarRec>& Args) {
  Print(Format(Fmt, Args));
}

void TVXRenderStream::PrintLn(const std::string& S) {
  Print(S);
  Print("\r\n");
}

void TVXRenderStream::PrintLnF(const std::string& Fmt, const std::vector<TVarRec>& Args) {
  PrintLn(Format(Fmt, Args));
}

void TVXRenderStream::OutputToFile(const std::string& FileName) {
  auto file = std::make_unique<TFileStream>(FileName, fmCreate);
  FOwnStream = std::move(file);
  OutputToStream(FOwnStream.get());
}

void TVXRenderStream::OutputToStream(TStream* Stream) {
  FOutputStream = Stream;
  FMainStream = Stream;
}

void TVXRenderStream::CloseOutput() {
  FOutputStream = nullptr;
  FMainStream = nullptr;
  FOwnStream.reset();
}
