// Per-process values for the framework's own state. On Windows a process runs the program once;
// on the simulated desktop one executable may host several simulated processes (a second
// instance started while the first still runs), and each must see its own main window, instance
// handle and settings. Values are keyed by GetCurrentProcessId(); use them from the thread that
// runs the message loop.
#pragma once

#include <windows.h>

#include <map>
#include <type_traits>

template <typename T>
class CProcessLocal {
 public:
  // The calling process's value, created with T's default on first use.
  T& Get() { return m_values[GetCurrentProcessId()]; }
  // The calling process's value, or T's default when it has none (creates nothing).
  T Peek() const {
    auto it = m_values.find(GetCurrentProcessId());
    return it == m_values.end() ? T() : it->second;
  }
  // Forgets the calling process's value (its run of the program is over).
  void Reset() { m_values.erase(GetCurrentProcessId()); }

 private:
  std::map<DWORD, T> m_values;
};

// A member whose value belongs to the calling process: assign, compare and (for pointers)
// dereference it like the plain value it stands for.
template <typename T>
class CProcessLocalValue {
 public:
  CProcessLocalValue& operator=(T value) {
    m_value.Get() = value;
    return *this;
  }
  operator T() const { return m_value.Peek(); }  // NOLINT(google-explicit-constructor)
  T operator->() const requires std::is_pointer_v<T> { return m_value.Peek(); }
  void Reset() { m_value.Reset(); }

 private:
  CProcessLocal<T> m_value;
};
