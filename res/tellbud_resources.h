// Tellbud's dialog templates, menus and strings, described once for every build.
#pragma once

#include <framework/resources.h>

const CResourceTable& TellbudResources();

// The class id of the USB phone control hosted in the main window.
#define TELLBUD_USBPHONE_CLSID_TEXT TEXT("{797E1292-653D-43DD-AE7E-F6606A73C647}")
