// Reads in-memory dialog templates: the standard DLGTEMPLATE format and its extended form
// (DLGTEMPLATEEX), with DWORD-aligned items.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace sim::user {

// A name field of a template: nothing, an ordinal (0xFFFF + WORD) or a string.
struct TemplateName {
  bool present = false;
  bool is_ordinal = false;
  WORD ordinal = 0;
  std::u16string text;
};

struct TemplateItem {
  DWORD style = 0;
  DWORD ex_style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  TemplateName class_name;
  TemplateName title;
  const BYTE* creation_data = nullptr;  // the size word and the data after it, when the size is not 0
};

struct DialogTemplate {
  bool extended = false;
  DWORD style = 0;
  DWORD ex_style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  TemplateName menu;
  TemplateName class_name;
  std::u16string title;
  bool has_font = false;
  WORD point_size = 0;
  std::u16string face;
  std::vector<TemplateItem> items;
};

// Reads a template. The caller vouches for its size, as with the Windows functions.
DialogTemplate ParseDialogTemplate(const void* data);

// The window class name of a predefined control atom (0x80 Button ... 0x85 ComboBox), or empty.
std::u16string PredefinedClassName(WORD atom);

}  // namespace sim::user
