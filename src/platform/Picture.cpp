#include "platform/Picture.h"

#include <algorithm>
#include <mutex>

#include "platform/Bitmap.h"
#include "platform/Icon.h"
#include "platform/JPEGImage.h"

namespace {

std::string NormalizeExtension(std::string Extension) {
  if (!Extension.empty() && Extension.front() == '.') Extension.erase(0, 1);
  std::transform(Extension.begin(), Extension.end(), Extension.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
  return Extension;
}

// The extension of a file name: the text after the last full stop of its last component.
std::string FileExtension(const std::string& FileName) {
  const size_t slash = FileName.find_last_of('/');
  const size_t dot = FileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return FileName.substr(dot + 1);
}

template <class T>
TGraphicFactory FactoryOf() {
  return [] { return std::unique_ptr<TGraphic>(std::make_unique<T>()); };
}

struct TFormatRegistry {
  std::mutex Lock;
  std::vector<TPictureFileFormat> Formats{
      {"bmp", "Bitmaps", FactoryOf<TBitmap>()},
      {"dib", "Bitmaps", FactoryOf<TBitmap>()},
      {"jpg", "JPEG Image File", FactoryOf<TJPEGImage>()},
      {"jpeg", "JPEG Image File", FactoryOf<TJPEGImage>()},
      {"jpe", "JPEG Image File", FactoryOf<TJPEGImage>()},
      {"ico", "Icons", FactoryOf<TIcon>()},
  };
};

// Built on first use, so classes registering from static initialisers find it ready.
TFormatRegistry& Registry() {
  static TFormatRegistry registry;
  return registry;
}

TGraphicFactory FindFactory(const std::string& Extension) {
  TFormatRegistry& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.Lock);
  for (const TPictureFileFormat& format : registry.Formats)
    if (format.Extension == Extension) return format.Factory;
  return nullptr;
}

}  // namespace

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const std::string& AExtension, const std::string& ADescription,
                                  TGraphicFactory Factory) {
  const std::string extension = NormalizeExtension(AExtension);
  TFormatRegistry& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.Lock);
  auto it = std::find_if(registry.Formats.begin(), registry.Formats.end(),
                         [&](const TPictureFileFormat& f) { return f.Extension == extension; });
  if (it != registry.Formats.end()) {
    it->Description = ADescription;
    it->Factory = std::move(Factory);
  } else {
    registry.Formats.push_back({extension, ADescription, std::move(Factory)});
  }
}

void TPicture::UnregisterFileFormat(const std::string& AExtension) {
  const std::string extension = NormalizeExtension(AExtension);
  TFormatRegistry& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.Lock);
  std::erase_if(registry.Formats, [&](const TPictureFileFormat& f) { return f.Extension == extension; });
}

std::vector<TPictureFileFormat> TPicture::FileFormats() {
  TFormatRegistry& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.Lock);
  return registry.Formats;
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> Value) {
  FGraphic = std::move(Value);
  if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::SetGraphic(TGraphic* Value) {
  TakeGraphic(Value ? Value->Clone() : nullptr);
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) TakeGraphic(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::SetBitmap(TBitmap* Value) {
  SetGraphic(Value);
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(FGraphic.get())) TakeGraphic(std::make_unique<TIcon>());
  return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::SetIcon(TIcon* Value) {
  SetGraphic(Value);
}

int TPicture::Width() const {
  return FGraphic ? FGraphic->Width() : 0;
}

int TPicture::Height() const {
  return FGraphic ? FGraphic->Height() : 0;
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    if (picture != this) SetGraphic(picture->Graphic());
  } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (FGraphic && dynamic_cast<TGraphic*>(Dest))
    Dest->Assign(FGraphic.get());
  else
    TPersistent::AssignTo(Dest);
}

void TPicture::LoadFromFile(const std::string& FileName) {
  const std::string extension = FileExtension(FileName);
  TGraphicFactory factory = FindFactory(NormalizeExtension(extension));
  if (!factory) throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
  std::unique_ptr<TGraphic> graphic = factory();
  graphic->LoadFromFile(FileName);
  TakeGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}
