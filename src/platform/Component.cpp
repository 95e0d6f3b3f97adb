#include "platform/Component.h"

#include <algorithm>
#include <memory>

#include "platform/Exceptions.h"
#include "platform/StringUtils.h"

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  FDestroying = true;
  NotifyWatchersOfDestruction();
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[Index];
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* component : FComponents)
    if (SameText(component->Name(), AName)) return component;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner == this) return;
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  std::erase(FComponents, AComponent);
  AComponent->FOwner = nullptr;
  Notification(AComponent, opRemove);
}

void TComponent::DestroyComponents() {
  // Last created goes first; each removal is announced before the component dies, so the
  // siblings that refer to it let go in time.
  while (!FComponents.empty()) {
    TComponent* doomed = FComponents.back();
    RemoveComponent(doomed);
    std::unique_ptr<TComponent> owned(doomed);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  AddFreeNotify(AComponent);
  AComponent->AddFreeNotify(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  RemoveFreeNotify(AComponent);
  AComponent->RemoveFreeNotify(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
  // Owned components hear about every insertion and removal in their owner, so references
  // between siblings are cleared without each asking for free notification. A notification
  // may destroy components, hence the index check on every step.
  for (int i = ComponentCount() - 1; i >= 0; --i) {
    if (i >= ComponentCount()) continue;
    TComponent* component = FComponents[i];
    if (component != AComponent) component->Notification(AComponent, Operation);
  }
}

void TComponent::AddFreeNotify(TComponent* AComponent) {
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
    FFreeNotifies.push_back(AComponent);
}

void TComponent::RemoveFreeNotify(TComponent* AComponent) {
  std::erase(FFreeNotifies, AComponent);
}

void TComponent::NotifyWatchersOfDestruction() {
  while (!FFreeNotifies.empty()) {
    TComponent* watcher = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    watcher->RemoveFreeNotify(this);
    watcher->Notification(this, opRemove);
  }
}
