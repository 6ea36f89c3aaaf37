// Placeholder: declarations are added by the module that implements them.
#pragma once

#include <windef.h>
#include <winerror.h>
