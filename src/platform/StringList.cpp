#include "platform/StringList.h"

#include <algorithm>
#include <memory>
#include <numeric>

#include "platform/AnsiCodePage.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"
#include "platform/StringUtils.h"

namespace {

bool IsBlankOrControl(char c) {
  return static_cast<uint8_t>(c) <= ' ';
}

}  // namespace

// ---- TStrings ---------------------------------------------------------------------------

void TStrings::Error(int Index) const {
  throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const {
  return AnsiCompareText(S1, S2);
}

int TStrings::Add(const std::string& S) {
  return AddObject(S, nullptr);
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int index = Count();
  InsertObject(index, S, AObject);
  return index;
}

void TStrings::AddStrings(const TStrings* Strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(int Index1, int Index2) {
  std::string s1 = Get(Index1);
  TObject* o1 = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, s1);
  PutObject(Index2, o1);
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  std::string s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  // Detach the object first so that a list owning its objects does not delete it.
  PutObject(CurIndex, nullptr);
  Delete(CurIndex);
  InsertObject(NewIndex, s, o);
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& line = Get(i);
    size_t separator = line.find(FNameValueSeparator);
    if (separator != std::string::npos && CompareStrings(line.substr(0, separator), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
  if (Strings == nullptr || Strings->Count() != Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += FLineBreak;
  }
  return text;
}

void TStrings::SetText(const std::string& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t pos = 0;
    while (pos < Value.size()) {
      size_t end = Value.find_first_of("\r\n", pos);
      if (end == std::string::npos) end = Value.size();
      Add(Value.substr(pos, end - pos));
      pos = end;
      // One line break: CR, LF or CR LF (so "\n\r" is two breaks).
      if (pos < Value.size() && Value[pos] == '\r') ++pos;
      if (pos < Value.size() && Value[pos] == '\n') ++pos;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  return JoinDelimited(',', '"', false);
}

void TStrings::SetCommaText(const std::string& Value) {
  SplitDelimited(Value, ',', '"', false);
}

std::string TStrings::DelimitedText() const {
  return JoinDelimited(FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(const std::string& Value) {
  SplitDelimited(Value, FDelimiter, FQuoteChar, FStrictDelimiter);
}

std::string TStrings::JoinDelimited(char delimiter, char quote, bool strict) const {
  // A single empty item must still read back as one item.
  if (Count() == 1 && Get(0).empty()) return std::string(2, quote);
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    const std::string& item = Get(i);
    bool needsQuotes = std::any_of(item.begin(), item.end(), [&](char c) {
      return c == quote || c == delimiter || (!strict && IsBlankOrControl(c) && c != '\0');
    });
    if (i > 0) text += delimiter;
    text += needsQuotes ? AnsiQuotedStr(item, quote) : item;
  }
  return text;
}

void TStrings::SplitDelimited(const std::string& Value, char delimiter, char quote, bool strict) {
  BeginUpdate();
  try {
    Clear();
    const size_t n = Value.size();
    // Without strict delimiting, blanks and control characters also separate items.
    auto separatorBlank = [&](size_t k) {
      return !strict && k < n && Value[k] != '\0' && IsBlankOrControl(Value[k]);
    };
    size_t pos = 0;
    while (separatorBlank(pos)) ++pos;
    while (pos < n) {
      std::string item;
      if (Value[pos] == quote) {
        item = AnsiExtractQuotedStr(Value, pos, quote);
      } else {
        size_t start = pos;
        while (pos < n && Value[pos] != delimiter && (strict || !IsBlankOrControl(Value[pos]))) ++pos;
        item = Value.substr(start, pos - start);
      }
      Add(item);
      while (separatorBlank(pos)) ++pos;
      if (pos < n && Value[pos] == delimiter) {
        if (pos + 1 == n) Add("");  // a trailing delimiter ends with an empty item
        ++pos;
        while (separatorBlank(pos)) ++pos;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::Names(int Index) const {
  const std::string& line = Get(Index);
  size_t separator = line.find(FNameValueSeparator);
  return separator == std::string::npos ? "" : line.substr(0, separator);
}

std::string TStrings::ValueFromIndex(int Index) const {
  const std::string& line = Get(Index);
  size_t separator = line.find(FNameValueSeparator);
  return separator == std::string::npos ? "" : line.substr(separator + 1);
}

std::string TStrings::Values(const std::string& Name) const {
  int index = IndexOfName(Name);
  return index < 0 ? "" : ValueFromIndex(index);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  int index = IndexOfName(Name);
  if (!Value.empty()) {
    std::string line = Name + FNameValueSeparator + Value;
    if (index < 0)
      Add(line);
    else
      Put(index, line);
  } else if (index >= 0) {
    Delete(index);
  }
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TStrings::LoadFromStream(TStream* Stream) {
  int64_t size = Stream->Size() - Stream->Position();
  std::string bytes(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  bytes.resize(static_cast<size_t>(Stream->Read(bytes.data(), static_cast<int64_t>(bytes.size()))));
  static const std::string kUtf8Bom = "\xEF\xBB\xBF";
  if (bytes.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) bytes = Utf8ToAnsi(bytes.substr(kUtf8Bom.size()));
  SetText(bytes);
}

void TStrings::SaveToStream(TStream* Stream) const {
  std::string text = Text();
  Stream->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* Source) {
  auto* strings = dynamic_cast<TStrings*>(Source);
  if (strings == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (strings == this) return;
  BeginUpdate();
  try {
    Clear();
    FLineBreak = strings->FLineBreak;
    FDelimiter = strings->FDelimiter;
    FQuoteChar = strings->FQuoteChar;
    FNameValueSeparator = strings->FNameValueSeparator;
    FStrictDelimiter = strings->FStrictDelimiter;
    AddStrings(strings);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---- TStringList ------------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (TStringItem& item : FList) ReleaseObject(item.FObject);
}

void TStringList::ReleaseObject(TObject* AObject) {
  // The list owns its objects: the caller handed them over as raw pointers.
  std::unique_ptr<TObject> owned(AObject);
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) Error(Index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

const std::string& TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[Index].FString;
}

void TStringList::Put(int Index, const std::string& S) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(Index);
  Changing();
  FList[Index].FString = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[Index].FObject;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[Index].FObject = AObject;
  Changed();
}

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > Count()) Error(Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* object = FList[Index].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) ReleaseObject(object);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (TStringItem& item : old) ReleaseObject(item.FObject);
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[Index1], FList[Index2]);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  if (CurIndex == NewIndex) return;
  Changing();
  TStringItem item = std::move(FList[CurIndex]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

int TStringList::Add(const std::string& S) {
  return AddObject(S, nullptr);
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  int index = Count();
  if (FSorted && Find(S, index)) {
    switch (FDuplicates) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError("String list does not allow duplicates");
      case dupAccept:
        break;
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

int TStringList::IndexOf(const std::string& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const std::string& S, int& Index) const {
  bool found = false;
  int low = 0, high = Count() - 1;
  while (low <= high) {
    int middle = (low + high) / 2;
    int comparison = CompareStrings(FList[middle].FString, S);
    if (comparison < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (comparison == 0) {
        found = true;
        if (FDuplicates != dupAccept) low = middle;
      }
    }
  }
  Index = low;
  return found;
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, int a, int b) {
    return list->CompareStrings(list->FList[a].FString, list->FList[b].FString);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  // A sorted list is in order already.
  if (FSorted || Count() < 2) return;
  Changing();
  // Sort a permutation so that Compare sees the list unchanged while it runs.
  std::vector<int> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FList.size());
  for (int index : order) sorted.push_back(std::move(FList[index]));
  FList = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    Sort();
    FSorted = true;
  }
}

void TStringList::Assign(TPersistent* Source) {
  if (auto* list = dynamic_cast<TStringList*>(Source); list != nullptr && list != this) {
    // Take the source's order rules first, so that its items go in as they are.
    BeginUpdate();
    FSorted = false;
    FCaseSensitive = list->FCaseSensitive;
    FDuplicates = list->FDuplicates;
    try {
      TStrings::Assign(Source);
    } catch (...) {
      EndUpdate();
      throw;
    }
    FSorted = list->FSorted;
    EndUpdate();
    return;
  }
  TStrings::Assign(Source);
}
