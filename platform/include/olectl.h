// OLE controls: the connectable-object interfaces and the controls' error codes.
#pragma once

#include <ocidl.h>

// The connection point errors (winerror.h already carries them with the same values).
#ifndef CONNECT_E_NOCONNECTION
#define CONNECT_E_NOCONNECTION _HRESULT_TYPEDEF_(0x80040200)
#endif
#ifndef CONNECT_E_ADVISELIMIT
#define CONNECT_E_ADVISELIMIT _HRESULT_TYPEDEF_(0x80040201)
#endif
#ifndef CONNECT_E_CANNOTCONNECT
#define CONNECT_E_CANNOTCONNECT _HRESULT_TYPEDEF_(0x80040202)
#endif
#ifndef CONNECT_E_OVERRIDDEN
#define CONNECT_E_OVERRIDDEN _HRESULT_TYPEDEF_(0x80040203)
#endif
