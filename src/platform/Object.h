#pragma once
// The root classes of the runtime vocabulary: TObject and TPersistent, and the plain
// notification event every component uses.
#include <functional>
#include <string>

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  // The dynamic class name ("TFont"); derived classes that need it override.
  virtual std::string ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// An object that can copy its state from another of a compatible class.
class TPersistent : public TObject {
public:
  // Copies Source into this object; raises EConvertError when neither side knows how.
  virtual void Assign(TPersistent* Source);
  std::string ClassName() const override { return "TPersistent"; }

protected:
  // Lets Source-side classes copy into classes that do not know them.
  virtual void AssignTo(TPersistent* Dest);
  // Raises EConvertError "Cannot assign a <Source> to a <this class>".
  [[noreturn]] void AssignError(TPersistent* Source);
};
