// The COM library as programs include it: the base library, the object interfaces and the
// apartment models of CoInitializeEx.
#pragma once

#include <combaseapi.h>
#include <objidl.h>

typedef enum tagCOINIT {
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_MULTITHREADED = 0x0,
  COINIT_DISABLE_OLE1DDE = 0x4,
  COINIT_SPEED_OVER_MEMORY = 0x8
} COINIT;

// Initialises COM on the calling thread as a single-threaded apartment.
HRESULT WINAPI CoInitialize(LPVOID pvReserved);
