#include "world/messenger/faults.h"

#include <algorithm>
#include <iterator>

namespace world::messenger {

namespace {

const char* const kOperations[] = {
    "get_MyStatus", "get_MyContacts",      "get_Count",   "Item",           "get_FriendlyName",
    "get_Status",   "get_SigninName",      "get_Window",  "Show",           "get_HWND",
    "Close",        "get_Contacts",        "get_History", "InstantMessage", "StartVoice",
    "MediaWizard",  "FindConnectionPoint", "Advise",      "Create",
};

}  // namespace

bool FaultPlan::IsKnownOperation(const std::string& op) {
  return std::find(std::begin(kOperations), std::end(kOperations), op) != std::end(kOperations);
}

std::vector<std::string> FaultPlan::KnownOperations() {
  return std::vector<std::string>(std::begin(kOperations), std::end(kOperations));
}

bool FaultPlan::Fail(const std::string& op, HRESULT hr, int count) {
  if (!IsKnownOperation(op) || SUCCEEDED(hr)) return false;
  if (count == 0) {
    faults_.erase(op);
    return true;
  }
  faults_[op] = Fault{hr, count < 0 ? kUntilHealed : count};
  return true;
}

void FaultPlan::Heal() {
  faults_.clear();
  vanish_.clear();
  window_argument_type_.reset();
}

bool FaultPlan::FailsUntilHealed(const std::string& op) const {
  auto it = faults_.find(op);
  return it != faults_.end() && it->second.remaining < 0;
}

std::optional<HRESULT> FaultPlan::Take(const std::string& op) {
  auto it = faults_.find(op);
  if (it == faults_.end()) return std::nullopt;
  HRESULT hr = it->second.hr;
  if (it->second.remaining > 0 && --it->second.remaining == 0) faults_.erase(it);
  return hr;
}

bool FaultPlan::VanishDuring(const std::string& op) {
  if (!IsKnownOperation(op)) return false;
  vanish_.insert(op);
  return true;
}

bool FaultPlan::TakeVanish(const std::string& op) { return vanish_.erase(op) != 0; }

void FaultPlan::CorruptNextWindowArgument(unsigned short vt) { window_argument_type_ = vt; }

std::optional<unsigned short> FaultPlan::TakeWindowArgumentCorruption() {
  auto vt = window_argument_type_;
  window_argument_type_.reset();
  return vt;
}

}  // namespace world::messenger
