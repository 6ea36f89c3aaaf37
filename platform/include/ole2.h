// OLE as programs include it: COM, automation, and OLE's own initialisation.
#pragma once

#include <objbase.h>
#include <oleauto.h>
#include <oleidl.h>

// Initialises COM as a single-threaded apartment, plus OLE's services, on the calling thread.
HRESULT WINAPI OleInitialize(LPVOID pvReserved);
void WINAPI OleUninitialize(void);
