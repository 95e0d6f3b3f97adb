#pragma once
// Test helpers: a filer recording into a memory stream, and what the stream holds.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "StreamBytes.h"
#include "platform/Stream.h"
#include "stream/VXFiler.h"
#include "stream/VXStreamReader.h"

// A filer writing into its own memory stream (smUser), with an empty title.
class TFilerRun {
public:
  TReportFiler Filer;
  TMemoryStream Stream;

  TFilerRun() {
    Filer.SetStreamMode(smUser);
    Filer.SetStream(&Stream);
    Filer.SetTitle("");
  }

  // Runs Body as the report (OnPrint) and returns the records of every page.
  std::vector<std::vector<TStreamRecord>> Run(const std::function<void(TReportFiler&)>& Body) {
    Filer.OnPrint = [this, Body](TObject*) { Body(Filer); };
    Filer.Execute();
    return ReadAllPages(&Stream);
  }

  std::vector<uint8_t> Bytes() {
    return std::vector<uint8_t>(Stream.Memory(), Stream.Memory() + Stream.Size());
  }
  std::string Text() { return std::string(reinterpret_cast<const char*>(Stream.Memory()), Stream.Size()); }
};

// The records of a page after its state block (which ends with the last opcode 37, or
// opcode 27 when there are no variables), without the final 82.
inline std::vector<TStreamRecord> AfterStateBlock(const std::vector<TStreamRecord>& Page) {
  size_t start = 0;
  while (start < Page.size() && Page[start].Code != 27) ++start;
  ++start;
  while (start < Page.size() && Page[start].Code == 37) ++start;
  std::vector<TStreamRecord> body(Page.begin() + static_cast<std::ptrdiff_t>(std::min(start, Page.size())),
                                  Page.end());
  if (!body.empty() && body.back().Code == 82) body.pop_back();
  return body;
}

inline size_t CountCode(const std::vector<TStreamRecord>& Records, uint8_t Code) {
  return static_cast<size_t>(std::count_if(Records.begin(), Records.end(),
                                           [Code](const TStreamRecord& R) { return R.Code == Code; }));
}

// The texts of the text records (23, 24, 25, 32, 33) in order.
inline std::vector<std::string> TextsOf(const std::vector<TStreamRecord>& Records) {
  std::vector<std::string> texts;
  for (const TStreamRecord& record : Records) {
    if ((record.Code >= 23 && record.Code <= 25) || record.Code == 32 || record.Code == 33) {
      texts.push_back(record.Text);
    }
  }
  return texts;
}
