#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Classes.h"

namespace {

// Records the notifications it receives and drops its reference like a property would.
class TWatcher : public TComponent {
public:
  explicit TWatcher(TComponent* AOwner = nullptr, std::vector<std::string>* log = nullptr)
      : TComponent(AOwner), FLog(log) {}
  ~TWatcher() override {
    if (FLog != nullptr) FLog->push_back("destroy " + Name());
  }
  std::string ClassName() const override { return "TWatcher"; }

  void SetTarget(TComponent* target) {
    FTarget = target;
    if (target != nullptr) target->FreeNotification(this);
  }
  TComponent* Target() const { return FTarget; }
  int Removals = 0;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) {
      ++Removals;
      if (AComponent == FTarget) FTarget = nullptr;
    }
  }

private:
  TComponent* FTarget = nullptr;
  std::vector<std::string>* FLog;
};

TEST(ComponentTest, OwnerDeletesOwnedComponentsLastCreatedFirst) {
  std::vector<std::string> log;
  {
    TComponent form;
    auto* first = new TWatcher(&form, &log);
    first->SetName("first");
    auto* second = new TWatcher(&form, &log);
    second->SetName("second");
    ASSERT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.Components(0), first);
    EXPECT_EQ(second->Owner(), &form);
    EXPECT_EQ(form.FindComponent("FIRST"), first);
    EXPECT_EQ(form.FindComponent("third"), nullptr);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"destroy second", "destroy first"}));
}

TEST(ComponentTest, DestroyedChildLeavesItsOwner) {
  auto owner = std::make_unique<TComponent>();
  auto* child = new TComponent(owner.get());
  new TComponent(owner.get());
  std::unique_ptr<TComponent> doomed(child);
  doomed.reset();
  ASSERT_EQ(owner->ComponentCount(), 1);
  EXPECT_NE(owner->Components(0), child);
  EXPECT_THROW(owner->Components(1), EListError);
}

TEST(ComponentTest, FreeNotificationWorksBothWays) {
  auto watcher = std::make_unique<TWatcher>();
  auto target = std::make_unique<TWatcher>();
  watcher->SetTarget(target.get());
  target->SetTarget(watcher.get());
  target.reset();
  EXPECT_EQ(watcher->Target(), nullptr);
  EXPECT_EQ(watcher->Removals, 1);
  // The link is gone: destroying the watcher afterwards touches nothing freed.
  watcher.reset();
}

TEST(ComponentTest, WatcherDestroyedFirstIsForgotten) {
  TWatcher target;
  {
    TWatcher watcher;
    watcher.SetTarget(&target);
  }
  // The target told the watcher's destruction and keeps no dangling link (ASan checks).
  EXPECT_EQ(target.Removals, 1);
}

TEST(ComponentTest, SiblingsHearAboutEachOtherThroughTheirOwner) {
  TComponent form;
  auto* label = new TWatcher(&form);
  auto* source = new TComponent(&form);
  label->SetTarget(source);
  std::unique_ptr<TComponent>(source).reset();
  EXPECT_EQ(label->Target(), nullptr);
}

TEST(ComponentTest, OwnerDestructionClearsReferencesBetweenChildren) {
  std::vector<std::string> log;
  auto form = std::make_unique<TComponent>();
  auto* source = new TWatcher(form.get(), &log);
  auto* label = new TWatcher(form.get(), &log);
  auto outside = std::make_unique<TWatcher>();
  label->SetTarget(source);
  outside->SetTarget(label);
  form.reset();  // label goes first, then source: no notification reaches a freed object
  EXPECT_EQ(outside->Target(), nullptr);
  EXPECT_EQ(log.size(), 2u);
}

TEST(ComponentTest, InsertComponentMovesOwnership) {
  TComponent a, b;
  auto* child = new TComponent(&a);
  b.InsertComponent(child);
  EXPECT_EQ(a.ComponentCount(), 0);
  EXPECT_EQ(b.ComponentCount(), 1);
  EXPECT_EQ(child->Owner(), &b);
  b.RemoveComponent(child);
  EXPECT_EQ(child->Owner(), nullptr);
  std::unique_ptr<TComponent> free(child);
}

TEST(ComponentTest, AssignBetweenUnrelatedClassesRaises) {
  TComponent a;
  TWatcher b;
  try {
    b.Assign(&a);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TWatcher");
  }
  try {
    a.Assign(nullptr);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TComponent");
  }
}

TEST(ComponentTest, AbortRaisesTheSilentException) {
  EXPECT_THROW(Abort(), EAbort);
  try {
    Abort();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Operation aborted");
  }
}

}  // namespace
