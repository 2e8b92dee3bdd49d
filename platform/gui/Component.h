#pragma once
// The root of the class tree and ownership: a component frees what it owns, and one freed
// on its own leaves its owner's list first.
#include <vector>

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

class TComponent : public TObject {
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }

protected:
  // Frees the owned components, the newest first.
  void DestroyComponents();

private:
  TComponent* owner_;
  std::vector<TComponent*> components_;
};
