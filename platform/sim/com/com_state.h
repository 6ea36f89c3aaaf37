// Internal state of the simulated COM library: each thread's apartment and the desktop's
// registry of classes.
#pragma once

#include <objbase.h>

#include <cstring>
#include <map>
#include <memory>

#include <sim/com.h>

#include "core/core.h"

namespace sim::com {

// A thread's COM initialisation: how many successful CoInitialize(Ex) calls are not yet
// balanced by CoUninitialize, and the apartment they entered.
struct ThreadState {
  int init_count = 0;
  bool multithreaded = false;
  int ole_init_count = 0;
};

ThreadState& CurrentThreadState();
bool IsThreadInitialized();

struct ClassEntry {
  ComFactory factory;
  ComClassOptions options;
};

struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

struct ClassRegistry {
  std::map<CLSID, std::shared_ptr<const ClassEntry>, GuidLess> classes;
};

ClassRegistry& Registry();

// Whether the program that serves the class runs (always true for classes without a server).
bool ServerRunning(const ClassEntry& entry);

}  // namespace sim::com
