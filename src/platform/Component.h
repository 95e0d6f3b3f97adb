#pragma once
// TComponent: named, owned objects with free notification.
#include <string>
#include <vector>

#include "platform/Object.h"

enum TOperation { opInsert, opRemove };

// A component deletes the components it owns when it is destroyed, and tells every component
// that asked for free notification (and its owner, which passes the news on to the components
// it owns) through Notification(this, opRemove). Components made with an owner are created with
// `new` and belong to that owner; components without an owner may live on the stack or in a
// std::unique_ptr.
class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* AOwner = nullptr);
  ~TComponent() override;

  std::string ClassName() const override { return "TComponent"; }

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  TComponent* Owner() const { return FOwner; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Raises EListError when Index is out of range.
  TComponent* Components(int Index) const;
  // The owned component of that name (case-insensitive), or nullptr.
  TComponent* FindComponent(const std::string& AName) const;
  // Takes AComponent over from its previous owner (if any) / gives it up without deleting it.
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Deletes every owned component now.
  void DestroyComponents();
  // True while the destructor runs (csDestroying).
  bool Destroying() const { return FDestroying; }

  // Asks AComponent to tell this one (through Notification) when it is destroyed; the link
  // works both ways, so this one's destruction is reported to AComponent too.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Tag: a free integer for the application.
  int Tag = 0;

protected:
  // Called with opRemove when a component this one watches (or owns) is being destroyed and
  // with opInsert when this one takes a component over. Overrides call the inherited
  // operation, which forgets the component and passes the news on to the owned components.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
  void AddFreeNotify(TComponent* AComponent);
  void RemoveFreeNotify(TComponent* AComponent);
  void NotifyWatchersOfDestruction();

  std::string FName;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;    // owned; deleted with this component
  std::vector<TComponent*> FFreeNotifies;  // watchers and watched, both ways
  bool FDestroying = false;
};
