// The application framework: include this one header.
#pragma once

#include <framework/activex.h>
#include <framework/controls.h>
#include <framework/cstring.h>
#include <framework/dialog.h>
#include <framework/menu.h>
#include <framework/resources.h>
#include <framework/winapp.h>
#include <framework/wnd.h>
