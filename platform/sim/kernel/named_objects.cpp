// The desktop's own object namespace: names map to weak references, so a name lives exactly as
// long as some handle (or view) keeps its object alive.
#include "kernel/named_objects.h"

#include <map>

namespace sim {

namespace {

class DesktopNamespace : public NamedObjectNamespace {
 public:
  std::shared_ptr<KernelObject> Find(const std::u16string& name) override {
    auto it = names_.find(name);
    if (it == names_.end()) return nullptr;
    auto object = it->second.lock();
    if (!object) names_.erase(it);
    return object;
  }
  void Insert(const std::u16string& name, const std::shared_ptr<KernelObject>& object) override {
    names_[name] = object;
  }

 private:
  std::map<std::u16string, std::weak_ptr<KernelObject>> names_;
};

struct NamespaceSlot {
  std::unique_ptr<NamedObjectNamespace> names = std::make_unique<DesktopNamespace>();
};

}  // namespace

NamedObjectNamespace& NamedObjects() { return *Desktop::Current().Module<NamespaceSlot>().names; }

void SetNamedObjectNamespace(std::unique_ptr<NamedObjectNamespace> names) {
  if (names) Desktop::Current().Module<NamespaceSlot>().names = std::move(names);
}

std::u16string CanonicalObjectName(const std::u16string& name) {
  constexpr std::u16string_view kLocal = u"Local\\";
  if (name.starts_with(kLocal)) return name.substr(kLocal.size());
  return name;
}

}  // namespace sim
