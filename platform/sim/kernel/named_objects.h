// The namespace of named kernel objects (mutexes, events, file mappings share it, as on Windows).
// It sits behind an interface so that a later back end can also make names visible between real
// OS processes; the default one lives in the desktop.
#pragma once

#include <memory>
#include <string>

#include "core/core.h"

namespace sim {

class NamedObjectNamespace {
 public:
  virtual ~NamedObjectNamespace() = default;
  // The live object of that name, or nullptr.
  virtual std::shared_ptr<KernelObject> Find(const std::u16string& name) = 0;
  // Gives `object` the name; the name is freed when the object is destroyed.
  virtual void Insert(const std::u16string& name, const std::shared_ptr<KernelObject>& object) = 0;
};

// The calling desktop's namespace.
NamedObjectNamespace& NamedObjects();
// Replaces the desktop's namespace (for a back end shared with other OS processes).
void SetNamedObjectNamespace(std::unique_ptr<NamedObjectNamespace> names);

// The name under which an object is kept: "Local\\X" and "X" are the same object in the user's
// session; "Global\\X" is another. Names are case-sensitive, as kernel object names are.
std::u16string CanonicalObjectName(const std::u16string& name);

// How Create*W calls resolve a name: returns the existing object (and sets ERROR_ALREADY_EXISTS),
// nullptr with ERROR_INVALID_HANDLE when the name belongs to an object of another kind, or asks
// `make` for a new object and names it (ERROR_SUCCESS). An empty or null name makes an unnamed
// object. `T` is the kernel object class.
template <typename T, typename Make>
std::shared_ptr<T> CreateOrOpenNamed(const WCHAR* name, Make make, bool* existed) {
  *existed = false;
  if (!name || !*name) {
    SetLastError(ERROR_SUCCESS);
    return make();
  }
  std::u16string key = CanonicalObjectName(name);
  if (auto found = NamedObjects().Find(key)) {
    auto typed = std::dynamic_pointer_cast<T>(found);
    if (!typed) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    *existed = true;
    SetLastError(ERROR_ALREADY_EXISTS);
    return typed;
  }
  std::shared_ptr<T> object = make();
  if (!object) return nullptr;
  NamedObjects().Insert(key, object);
  SetLastError(ERROR_SUCCESS);
  return object;
}

}  // namespace sim
