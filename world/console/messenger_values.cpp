#include "world/console/messenger_values.h"

#include <cstdint>

#include "world/console/numbers.h"

namespace console {

std::optional<LONG> ParseMessengerStatus(const std::string& text) {
  static const std::pair<const char*, LONG> kNames[] = {
      {"offline", 1}, {"online", 2}, {"invisible", 6},   {"busy", 10},       {"brb", 14},
      {"idle", 18},   {"away", 34},  {"onthephone", 50}, {"outtolunch", 66},
  };
  for (auto& [name, value] : kNames)
    if (text == name) return value;
  auto number = ParseNumber(text);
  if (!number || *number > 0x7FFFFFFF) return std::nullopt;
  return static_cast<LONG>(*number);
}

std::optional<HRESULT> ParseHresult(const std::string& text) {
  static const std::pair<const char*, HRESULT> kNames[] = {
      {"E_FAIL", E_FAIL},
      {"E_INVALIDARG", E_INVALIDARG},
      {"E_NOINTERFACE", E_NOINTERFACE},
      {"E_OUTOFMEMORY", E_OUTOFMEMORY},
      {"E_ACCESSDENIED", E_ACCESSDENIED},
      {"E_UNEXPECTED", E_UNEXPECTED},
      {"RPC_S_SERVER_UNAVAILABLE", static_cast<HRESULT>(0x800706BA)},
      {"RPC_S_CALL_FAILED", static_cast<HRESULT>(0x800706BE)},
      {"RPC_E_DISCONNECTED", static_cast<HRESULT>(0x80010108)},
      {"CO_E_SERVER_EXEC_FAILURE", static_cast<HRESULT>(0x80080005)},
  };
  for (auto& [name, value] : kNames)
    if (text == name) return value;
  auto number = ParseNumber(text);
  if (!number || *number > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<HRESULT>(static_cast<uint32_t>(*number));
}

}  // namespace console
