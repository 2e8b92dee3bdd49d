#include "Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner)
{
  if (owner_)
    owner_->components_.push_back(this);
}

TComponent::~TComponent()
{
  DestroyComponents();
  if (owner_) {
    auto& list = owner_->components_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TComponent::DestroyComponents()
{
  // Each destructor unlinks itself, so the list shrinks as we go.
  while (!components_.empty())
    delete components_.back();
}
