#include "ui/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  BeginDestroy();
  DestroyComponents();
  // Partners are told while this object is still whole enough to be compared by address.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    other->Unlink(this);
    other->Notification(this, TOperation::opRemove);
  }
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::BeginDestroy() { destroying_ = true; }

int TComponent::ComponentIndex(const TComponent* c) const {
  auto it = std::find(components_.begin(), components_.end(), c);
  return it == components_.end() ? -1 : static_cast<int>(it - components_.begin());
}

void TComponent::InsertComponent(TComponent* c) {
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
  Notification(c, TOperation::opInsert);
}

bool TComponent::TakeOutComponent(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it == components_.end()) return false;
  components_.erase(it);
  return true;
}

void TComponent::RemoveComponent(TComponent* c) {
  if (!TakeOutComponent(c)) return;
  c->owner_ = nullptr;
  Notification(c, TOperation::opRemove);
}

void TComponent::MoveComponentToLast(TComponent* c) {
  if (TakeOutComponent(c)) components_.push_back(c);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) delete components_.back();
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
    freeNotifies_.push_back(other);
  if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
      other->freeNotifies_.end())
    other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  Unlink(other);
  if (other) other->Unlink(this);
}

void TComponent::Unlink(TComponent* other) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other),
                      freeNotifies_.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  // An owner passes removals on to everything it owns, so siblings drop their links.
  if (operation == TOperation::opRemove && component->Owner() == nullptr) {
    for (size_t i = 0; i < components_.size(); ++i) {
      if (components_[i] != component) components_[i]->Notification(component, operation);
    }
  }
}

void TComponent::Loaded() { loading_ = false; }
