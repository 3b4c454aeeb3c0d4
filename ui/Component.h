#pragma once
// Components: ownership (an owner destroys what it owns, the last in its list first), names,
// removal notifications, and the loading state that streamed definitions use.
#include <string>
#include <vector>

class TFiler;

enum class TOperation { opInsert, opRemove };

class TComponent {
public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(index); }
  int ComponentIndex(const TComponent* c) const;

  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);
  // Moves an owned component to the last place, so that it is destroyed first.
  void MoveComponentToLast(TComponent* c);
  // Destroys every owned component, the last first.
  void DestroyComponents();

  // `other` is told (Notification with opRemove) when this component is destroyed.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);
  virtual void Notification(TComponent* component, TOperation operation);

  bool IsLoading() const { return loading_; }
  bool IsDestroying() const { return destroying_; }

  // Streaming of a component definition (see ui/Stream.h): a kind of component that stores
  // properties defines them in a member of this name, which the reading or writing of its
  // definition calls for that kind.
  void DefineProperties(TFiler&) {}
  virtual void Loaded();
  void SetLoading(bool loading) { loading_ = loading; }

protected:
  // Derived destructors that still need their own members while owned components go call this
  // first; the base destructor does the same for whatever is left.
  void BeginDestroy();

private:
  void Unlink(TComponent* other);
  // Takes c out of the owned list without telling anyone; false when c is not in it.
  bool TakeOutComponent(TComponent* c);

  std::string name_;
  TComponent* owner_ = nullptr;              // not owned
  std::vector<TComponent*> components_;      // owned
  std::vector<TComponent*> freeNotifies_;    // not owned; each also lists this one
  bool loading_ = false;
  bool destroying_ = false;
};
