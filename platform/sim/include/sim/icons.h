// Icons as the world sees them: where a handle came from, how many icons programs hold, and
// the icon resources of simulated executables.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct IconDescription {
  enum class Origin {
    kFile,      // LoadImageW with LR_LOADFROMFILE
    kResource,  // an icon resource of an executable (LoadIconW, LoadImageW)
    kSystem,    // one of the system's IDI_ icons
    kMemory,    // CreateIconFromResourceEx on bytes the program held
  };
  Origin origin = Origin::kFile;
  std::u16string path;    // kFile: the full Windows path
  std::u16string module;  // kResource: the executable's image name, e.g. u"Tellbud.exe"
  WORD resource_id = 0;   // kResource: the icon's id; kSystem: the IDI_ number
  int width = 0;
  int height = 0;
  bool shared = false;  // LR_SHARED, LoadIconW and system icons: never destroyed by the program
  DWORD owner_pid = 0;  // the process that loaded or copied it (0 for system icons)
};

// Nothing when `icon` is not a live icon (never valid, or destroyed).
std::optional<IconDescription> DescribeIcon(HICON icon);

// Icons that programs created and have not destroyed (shared icons do not count, since programs
// must not destroy them). Icons of a process are released when it ends, as Windows does.
size_t LiveIconCount();
size_t LiveIconCount(DWORD pid);

// Gives processes whose image is `image_name` (compared ignoring case) an icon resource `id`
// holding `ico_bytes`, the contents of an .ico file. False, registering nothing, when the bytes
// are not a valid .ico file.
bool RegisterIconResource(const std::u16string& image_name, WORD id, std::vector<uint8_t> ico_bytes);

}  // namespace sim
