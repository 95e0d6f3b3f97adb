#pragma once
// Page streams in words, one line per record: what `pagepress dump` prints and what tests
// show when a stream is not what they expected.
#include <functional>
#include <string>

#include "stream/VXStreamReader.h"

class TStream;

// Text between double quotes, converted from Windows-1252 to UTF-8; control bytes, the
// placeholder bytes 251 to 253 and the bytes Windows-1252 leaves unassigned appear as \xNN,
// a backslash and a double quote are escaped.
std::string QuoteStreamText(const std::string& Text);
// A single in its shortest exact decimal form ("8.5", "0.1", "-3").
std::string FormatStreamSingle(float Value);
// "pcPrintLeft Y=1.5 Text="Total" X=1" (without the offset).
std::string FormatStreamRecord(const TStreamRecord& Record);
// "Page 1 @48 PrevPage=0 NextPage=0 Width=8.5 Height=11".
std::string FormatPageHeader(const TPageHeader& Page);

// Sends the header and then the pages (every page in stream order, or only page Page when
// Page is above 0) to Output line by line, each record prefixed with its offset. A damaged
// stream fails with the reader's error after the lines read so far.
void DumpPageStream(TStream* Stream, int Page, const std::function<void(const std::string& Line)>& Output);
