// Snapshot files come from anywhere: no input may make the page stream reader crash, hang
// or allocate without bound. Every input is read three ways: record by record in stream
// order (as the dump does), page by page along the PrevPage/NextPage chain (as the replay
// and preview engines do), and formatted as text.
//
//   stream_reader_fuzz -max_total_time=180 corpus/ tests/data/vsn/
#include <cstddef>
#include <cstdint>

#include "platform/Exceptions.h"
#include "platform/Stream.h"
#include "stream/VXStreamDump.h"
#include "stream/VXStreamReader.h"

namespace {

void ReadInStreamOrder(TStream* Stream) {
  TPageStreamReader reader(Stream);
  reader.ReadHeader();
  TStreamRecord record;
  while (!reader.AtEnd()) {
    reader.ReadPageHeader();
    bool more = true;
    while (more) {
      more = reader.ReadRecord(record);
      FormatStreamRecord(record);
    }
  }
}

void ReadAlongTheChain(TStream* Stream, int FirstTarget) {
  TPageStreamReader reader(Stream);
  const TStreamHeader& header = reader.ReadHeader();
  if (reader.AtEnd()) return;
  const int targets[] = {FirstTarget, header.PageCount, 1, 0, header.PageCount / 2, 32767};
  for (int target : targets) {
    reader.GotoPage(target);
    reader.SkipPage();
    reader.VariableValue("Total");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream stream;
  stream.WriteBuffer(Data, static_cast<int64_t>(Size));
  try {
    ReadInStreamOrder(&stream);
  } catch (const Exception&) {
    // A damaged stream fails with the engine's or the stream's error: that is the contract.
  }
  try {
    ReadAlongTheChain(&stream, Size > 0 ? Data[Size - 1] % 8 : 1);
  } catch (const Exception&) {
  }
  return 0;
}
