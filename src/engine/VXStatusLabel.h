#pragma once
// TVXStatusLabel: the text label a report engine writes its status line into. The
// windows provide the real labels; the engine keeps a free notification on the label so
// that it forgets one that is destroyed.
#include <string>

#include "platform/Component.h"

class TVXStatusLabel : public TComponent {
public:
  using TComponent::TComponent;
  std::string ClassName() const override { return "TVXStatusLabel"; }
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& Value) = 0;
};
