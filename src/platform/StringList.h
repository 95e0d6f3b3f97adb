#pragma once
// String lists: the abstract TStrings and its sorted-or-not, object-carrying TStringList.
#include <functional>
#include <string>
#include <vector>

#include "platform/Object.h"

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// The abstract list of strings with associated objects. Descendants store the strings; the
// text forms (Text, CommaText, DelimitedText, Names/Values), searching and file input and
// output are built here on top of the storage operations.
//
// Text joins every line, the last one included, with LineBreak(), which is CR LF as on the
// original platform; SetText splits on CR LF, LF or CR.
class TStrings : public TPersistent {
public:
  std::string ClassName() const override { return "TStrings"; }

  // Storage operations.
  virtual int Count() const = 0;
  virtual const std::string& Get(int Index) const = 0;
  virtual void Put(int Index, const std::string& S) = 0;
  virtual TObject* GetObject(int Index) const = 0;
  virtual void PutObject(int Index, TObject* AObject) = 0;
  virtual void InsertObject(int Index, const std::string& S, TObject* AObject) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int Index1, int Index2);

  // Returns the index of the new string.
  virtual int Add(const std::string& S);
  virtual int AddObject(const std::string& S, TObject* AObject);
  void Append(const std::string& S) { Add(S); }
  void AddStrings(const TStrings* Strings);
  void Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }
  virtual void Move(int CurIndex, int NewIndex);

  // Read access; write with SetStrings (Put), which keeps a sorted list's rules.
  const std::string& operator[](int Index) const { return Get(Index); }
  const std::string& Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const std::string& S) { Put(Index, S); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

  // -1 when absent; the comparison follows CompareStrings (case-insensitive by default).
  virtual int IndexOf(const std::string& S) const;
  int IndexOfName(const std::string& Name) const;
  int IndexOfObject(const TObject* AObject) const;
  bool Equals(const TStrings* Strings) const;

  std::string Text() const;
  void SetText(const std::string& Value);
  const std::string& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const std::string& Value) { FLineBreak = Value; }

  // Comma-separated, items with blanks, commas or quotes in double quotes ("a b","x""y").
  std::string CommaText() const;
  void SetCommaText(const std::string& Value);
  // As CommaText with Delimiter and QuoteChar; with StrictDelimiter only the delimiter
  // separates items (blanks do not) and only items holding the delimiter or the quote are
  // quoted.
  std::string DelimitedText() const;
  void SetDelimitedText(const std::string& Value);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  // "Name=Value" lines.
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }
  // The part before the separator ("" when the line has none).
  std::string Names(int Index) const;
  // The value of the first line named Name ("" when there is none).
  std::string Values(const std::string& Name) const;
  // Replaces or adds "Name=Value"; an empty Value deletes the line.
  void SetValues(const std::string& Name, const std::string& Value);
  std::string ValueFromIndex(int Index) const;

  // Bytes are written as they are (Windows-1252); a file starting with a UTF-8 byte-order
  // mark is read as UTF-8 and converted.
  virtual void LoadFromFile(const std::string& FileName);
  virtual void SaveToFile(const std::string& FileName) const;
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToStream(TStream* Stream) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  void Assign(TPersistent* Source) override;

protected:
  // Called when the update count goes to and from zero.
  virtual void SetUpdateState(bool Updating) { (void)Updating; }
  // Compares two strings as the list does (TStrings: case-insensitive).
  virtual int CompareStrings(const std::string& S1, const std::string& S2) const;
  // Raises EListError "List index out of bounds (Index)".
  [[noreturn]] void Error(int Index) const;

private:
  std::string JoinDelimited(char delimiter, char quote, bool strict) const;
  void SplitDelimited(const std::string& Value, char delimiter, char quote, bool strict);

  std::string FLineBreak = "\r\n";
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  bool FStrictDelimiter = false;
  int FUpdateCount = 0;
};

class TStringList;
// Returns < 0, 0 or > 0 for the strings at Index1 and Index2.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

// The list of strings kept in memory; optionally sorted (then Find is a binary search and
// Duplicates decides about equal strings) and optionally owning its objects.
class TStringList : public TStrings {
public:
  explicit TStringList(bool OwnsObjects = false) : FOwnsObjects(OwnsObjects) {}
  ~TStringList() override;

  std::string ClassName() const override { return "TStringList"; }

  int Count() const override { return static_cast<int>(FList.size()); }
  const std::string& Get(int Index) const override;
  // Raises EStringListError on a sorted list.
  void Put(int Index, const std::string& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  // Raises EStringListError on a sorted list.
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2) override;
  // Raises EStringListError on a sorted list (before anything moves).
  void Move(int CurIndex, int NewIndex) override;

  int Add(const std::string& S) override;
  int AddObject(const std::string& S, TObject* AObject) override;
  int IndexOf(const std::string& S) const override;

  // Binary search of a sorted list: true when found; Index is then the match (the first
  // one unless Duplicates is dupAccept), otherwise where S would be inserted.
  bool Find(const std::string& S, int& Index) const;
  void Sort();
  void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // When set, the list deletes its objects on Delete, Clear and destruction.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  void Assign(TPersistent* Source) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const std::string& S1, const std::string& S2) const override;
  virtual void Changed();
  virtual void Changing();

private:
  struct TStringItem {
    std::string FString;
    TObject* FObject = nullptr;
  };
  void InsertItem(int Index, const std::string& S, TObject* AObject);
  void CheckIndex(int Index) const;
  void ReleaseObject(TObject* AObject);

  std::vector<TStringItem> FList;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
};
