// The Windows API subset of the simulated desktop. Program code includes this exactly as it
// would include the real header; on Windows builds the real one is used instead.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <winbase.h>
#include <wingdi.h>
#include <winuser.h>
#include <winreg.h>
#include <winnls.h>
#ifndef WIN32_LEAN_AND_MEAN
#include <mmsystem.h>
#endif
