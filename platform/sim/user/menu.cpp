// Menus. (Filled in by the menu module.)
#include <windows.h>

BOOL WINAPI DestroyMenu(HMENU) { return TRUE; }
