// Files carried inside tellbud-sim (generated at build time by embed_files.cmake): the data
// files installed beside Tellbud.exe and the program's icon resources.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace world {

struct EmbeddedFile {
  std::string_view name;  // relative to the executable's folder, '/' separated ("Language/German.ini")
  std::span<const unsigned char> bytes;
};

struct EmbeddedIcon {
  uint16_t id;  // the icon resource id of the module
  std::span<const unsigned char> bytes;
};

// Tellbud.ini, Tellbud.lnk, Language/*.ini and the tray's icon files (ok.ico, nophone.ico,
// nodevice.ico). Custom.ini is not shipped: the user creates it.
std::span<const EmbeddedFile> ShippedDataFiles();

// The .ico files compiled into Tellbud.exe as icon resources.
std::span<const EmbeddedIcon> ProgramIconResources();

}  // namespace world
