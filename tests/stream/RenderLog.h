#pragma once
// Test helpers for the render bridge: a render that logs every operation it receives, and
// page streams assembled page by page from raw record bytes.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "StreamBytes.h"
#include "platform/Graphic.h"
#include "platform/Stream.h"
#include "stream/VXRender.h"

// Numbers as the log writes them: up to six significant digits.
inline std::string LogNumber(double Value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%g", Value);
  return text;
}

class TLogRender : public TVXRender {
public:
  std::vector<std::string> Log;
  // Called with the converter at every FontChanged, before it is logged.
  std::function<void(TVXConverter*)> OnFont;

  void Note(const std::string& Name, const std::vector<double>& Values, const std::string& Text = "",
            bool HasText = false) {
    std::string entry = Name + "(";
    bool first = true;
    if (HasText) {
      entry += Text;
      first = false;
    }
    for (double value : Values) {
      entry += (first ? "" : ",") + LogNumber(value);
      first = false;
    }
    Log.push_back(entry + ")");
  }
  // The entries whose name is Name.
  std::vector<std::string> Only(const std::string& Name) const {
    std::vector<std::string> entries;
    for (const std::string& entry : Log) {
      if (entry.rfind(Name + "(", 0) == 0) entries.push_back(entry);
    }
    return entries;
  }

  void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override {
    Note("Arc", {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
  }
  void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
             double Y4) override {
    Note("Chord", {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
  }
  void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override {
    Note("Pie", {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
  }
  void CenterText(const std::string& Text, double X, double Y) override {
    Note("CenterText", {X, Y}, Text, true);
  }
  void LeftText(const std::string& Text, double X, double Y) override {
    Note("LeftText", {X, Y}, Text, true);
  }
  void RightText(const std::string& Text, double X, double Y) override {
    Note("RightText", {X, Y}, Text, true);
  }
  void PrintSpaces(const std::string& Text, double X, double Y, double Width) override {
    Note("PrintSpaces", {X, Y, Width}, Text, true);
  }
  void TextRect(const TRect& Rect, double X, double Y, const std::string& Text) override {
    Note("TextRect", {double(Rect.Left), double(Rect.Top), double(Rect.Right), double(Rect.Bottom), X, Y},
         Text, true);
  }
  void Ellipse(double X1, double Y1, double X2, double Y2) override { Note("Ellipse", {X1, Y1, X2, Y2}); }
  void Rectangle(double X1, double Y1, double X2, double Y2) override { Note("Rectangle", {X1, Y1, X2, Y2}); }
  void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) override {
    Note("RoundRect", {X1, Y1, X2, Y2, X3, Y3});
  }
  void FillRect(const TRect& Rect) override {
    Note("FillRect", {double(Rect.Left), double(Rect.Top), double(Rect.Right), double(Rect.Bottom)});
  }
  void MoveTo(double X, double Y) override { Note("MoveTo", {X, Y}); }
  void LineTo(double X, double Y) override { Note("LineTo", {X, Y}); }
  void FontChanged() override {
    if (OnFont) OnFont(Converter());
    Note("FontChanged", {});
  }
  void PrintImageRect(TStream* ImageStream, const std::string& ImageType, double X1, double Y1, double X2,
                      double Y2) override {
    Note("PrintImageRect", {double(ImageStream->Size()), X1, Y1, X2, Y2}, ImageType, true);
  }
  void PrintBitmap(TBitmap*, double X, double Y, double ScaleX, double ScaleY) override {
    Note("PrintBitmap", {X, Y, ScaleX, ScaleY});
  }
  void PrintBitmapRect(TBitmap*, double X1, double Y1, double X2, double Y2) override {
    Note("PrintBitmapRect", {X1, Y1, X2, Y2});
  }
  void Draw(TGraphic* Graphic, double X, double Y) override {
    Note("Draw", {double(Graphic->Width()), double(Graphic->Height()), X, Y});
  }
  void StretchDraw(const TRect& Rect, TGraphic*) override {
    Note("StretchDraw", {double(Rect.Left), double(Rect.Top), double(Rect.Right), double(Rect.Bottom)});
  }
  void DocBegin() override { Note("DocBegin", {}); }
  void DocEnd() override { Note(Failed() ? "DocEnd.Failed" : "DocEnd", {}); }
  void PageBegin() override { Note("PageBegin", {Converter() ? double(Converter()->CurrentPage()) : 0}); }
  void PageEnd() override { Note("PageEnd", {}); }
  void GenerationFailed() override {
    TVXRender::GenerationFailed();
    Note("GenerationFailed", {});
  }
};

// A version-2017 page stream assembled from the records of each page (without the page
// header and the final 82), with the page chain filled in.
class TPagedStream {
public:
  std::vector<TStreamBytes> Pages;
  // The header's page count; -1: the number of pages.
  int PageCount = -1;

  TStreamBytes& AddPage() {
    Pages.emplace_back();
    return Pages.back();
  }

  void SaveTo(TMemoryStream& Stream) const {
    TStreamBytes bytes;
    bytes.Header(2017, PageCount < 0 ? static_cast<int>(Pages.size()) : PageCount, "Test");
    std::vector<size_t> starts;
    for (size_t i = 0; i < Pages.size(); ++i) {
      starts.push_back(bytes.Size());
      bytes.Page(i == 0 ? 0 : static_cast<int64_t>(starts[i - 1]), 0, static_cast<int>(i + 1));
      bytes.Bytes.insert(bytes.Bytes.end(), Pages[i].Bytes.begin(), Pages[i].Bytes.end());
      bytes.Byte(82);
    }
    // NextPage sits five bytes after each page's opcode.
    for (size_t i = 0; i + 1 < Pages.size(); ++i)
      bytes.PatchInt32(starts[i] + 5, static_cast<int64_t>(starts[i + 1]));
    bytes.SaveTo(Stream);
  }
};

// Runs a converter over Stream for Render.
inline void Convert(TMemoryStream& Stream, TVXRender& Render, int PageNo = 0, int PageCount = 0) {
  Stream.SetPosition(0);
  TVXConverter converter(&Stream, &Render);
  converter.Generate(PageNo, PageCount);
}
