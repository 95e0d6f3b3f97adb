#pragma once
// TPicture: holds one picture of any registered kind (bitmap, JPEG image, icon, and the
// classes that register themselves later, such as metafiles) and picks the kind from a file
// name's extension when loading.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Graphic.h"

class TBitmap;
class TIcon;

// Makes a new, empty picture of one class (the class reference of a registered format).
using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

// One registered picture file format.
struct TPictureFileFormat {
  std::string Extension;  // lower case, without the full stop: "bmp"
  std::string Description;
  TGraphicFactory Factory;
};

class TPicture : public TPersistent {
public:
  TPicture();
  ~TPicture() override;
  std::string ClassName() const override { return "TPicture"; }
  // From a TPicture or a TGraphic: a copy of its picture. nullptr clears.
  void Assign(TPersistent* Source) override;

  // The picture held (nullptr when none); the picture owns it.
  TGraphic* Graphic() const { return FGraphic.get(); }
  // Keeps a copy of Value (nullptr clears).
  void SetGraphic(TGraphic* Value);
  // The picture as a bitmap or an icon: a picture of another kind (or none) is first replaced
  // by an empty one of that kind.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  TIcon* Icon();
  void SetIcon(TIcon* Value);

  // The picture's size; 0 without a picture.
  int Width() const;
  int Height() const;

  // Loads with the class registered for the file's extension (case does not matter); an
  // extension nobody registered raises EInvalidGraphic "Unknown picture file extension (.xyz)".
  // The current picture is kept when loading fails.
  void LoadFromFile(const std::string& FileName);
  // Saves the picture in its own format; without a picture nothing is written.
  void SaveToFile(const std::string& FileName);

  // Registered from the start: bmp and dib (TBitmap), jpg, jpeg and jpe (TJPEGImage), ico
  // (TIcon). Registering an extension again replaces the earlier class. AExtension may be
  // given with or without its full stop.
  static void RegisterFileFormat(const std::string& AExtension, const std::string& ADescription,
                                 TGraphicFactory Factory);
  static void UnregisterFileFormat(const std::string& AExtension);
  // The registered formats, in registration order.
  static std::vector<TPictureFileFormat> FileFormats();

  // Fired after the picture is replaced and whenever the picture itself changes.
  TNotifyEvent OnChange;

protected:
  // Into a TGraphic: the destination takes a copy of this picture's graphic.
  void AssignTo(TPersistent* Dest) override;

private:
  void Changed();
  void TakeGraphic(std::unique_ptr<TGraphic> Value);

  std::unique_ptr<TGraphic> FGraphic;
};
