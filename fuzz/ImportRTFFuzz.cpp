// Rich text from database memo fields is untrusted: no input may make ImportRTF fail, hang
// or run out of memory, and what it writes must read back as formatted-text codes.
//
//   import_rtf_fuzz -max_total_time=180 -dict=fuzz/rtf.dict corpus/ tests/data/rtf/
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/VXFormatCodes.h"
#include "engine/VXImportRTF.h"
#include "platform/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string input(reinterpret_cast<const char*>(Data), Size);
  TMemoryStream stream;
  ImportRTF(input, static_cast<int>(Size), &stream);
  const std::string output(reinterpret_cast<const char*>(stream.Memory()),
                           static_cast<size_t>(stream.Size()));
  // Every input character yields at most one run with its code.
  if (output.size() > 400 * Size + 16) std::abort();
  TFormatState state = DefaultFormatState();
  size_t pos = 0;
  std::string codes;
  std::string plain;
  while (SplitFormatSegment(output, pos, codes, plain)) ApplyStateCodes(state, codes);
  if (VisibleLength(output) > static_cast<int>(output.size())) std::abort();
  return 0;
}
