#pragma once
// TComponent: named, owned objects with free notification.
#include <string>
#include <vector>

#include "platform/Object.h"

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* AOwner = nullptr);
  ~TComponent() override;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  TComponent* Owner() const { return FOwner; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;

  // Asks AComponent to tell this one (through Notification) when it is destroyed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Tag: a free integer for the application.
  int Tag = 0;

protected:
  // Called with opRemove when a component this one watches (or owns) is being destroyed.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

  std::string FName;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;       // owned; deleted with this component
  std::vector<TComponent*> FFreeNotifies;     // watchers and watched, both ways
  bool FDestroying = false;
};
