// Faults the world injects into Messenger's automation: a named operation fails with a given
// HRESULT once, a number of times or until healed; Messenger vanishes while serving a named
// call; the next event carries its window argument with a type other than VT_DISPATCH.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace world::messenger {

class FaultPlan {
 public:
  // Fail(op, hr, kUntilHealed) keeps failing until Heal.
  static constexpr int kUntilHealed = -1;

  // The operations that can be made to fail: the automation methods by name, and "Create" for
  // creating Messenger's object.
  static bool IsKnownOperation(const std::string& op);
  // Every such name, in a fixed order.
  static std::vector<std::string> KnownOperations();

  // False for an unknown operation or a success code (a fault must fail). A count of 0 removes
  // the operation's fault; a negative count means until healed.
  bool Fail(const std::string& op, HRESULT hr, int count);
  // Removes every fault, vanishing and argument fault included.
  void Heal();

  // Whether `op` fails until healed.
  bool FailsUntilHealed(const std::string& op) const;
  // Called when the operation runs: the HRESULT it must fail with, counting down its fault.
  std::optional<HRESULT> Take(const std::string& op);

  // The next call of `op` makes Messenger quit while it serves it. False for an unknown name.
  bool VanishDuring(const std::string& op);
  bool TakeVanish(const std::string& op);

  // The next event with a window argument carries it as this variant type instead.
  void CorruptNextWindowArgument(unsigned short vt);
  std::optional<unsigned short> TakeWindowArgumentCorruption();

 private:
  struct Fault {
    HRESULT hr = 0;
    int remaining = 0;  // negative: until healed
  };
  std::map<std::string, Fault> faults_;
  std::set<std::string> vanish_;
  std::optional<unsigned short> window_argument_type_;
};

}  // namespace world::messenger
