// Reading icon data: .ico files (an ICONDIR and its entries), the icon group directories of
// resources, and the images themselves (a bitmap header with its pixels, or a PNG).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sim::icons {

struct DirectoryEntry {
  int width = 0;
  int height = 0;
  int bit_count = 0;
  uint32_t size = 0;
  uint32_t offset = 0;  // .ico files: where the image starts
  uint16_t id = 0;      // resource group directories: the image's resource id
};

struct ImageSize {
  int width = 0;
  int height = 0;
};

// Validates an .ico file (reserved 0, type 1 for icons or 2 for cursors, at least one entry, every
// entry's image inside the file) and lists its entries; nothing when malformed.
std::optional<std::vector<DirectoryEntry>> ParseIconFile(std::span<const uint8_t> bytes, bool icon);

// Reads a group directory as a resource holds it (entries carry ids instead of offsets). Its
// length is not known to the caller, as with Windows' own function, so only the header is checked.
std::optional<std::vector<DirectoryEntry>> ParseGroupDirectory(const uint8_t* bytes, bool icon);

// The size an image shows at: a bitmap's width and half its height (the mask is included), or a
// PNG's. Nothing when the header is malformed or the pixels do not fit in `image`.
std::optional<ImageSize> MeasureImage(std::span<const uint8_t> image);

// The entry that best fits cx x cy: an exact size, else the smallest larger one, else the
// largest smaller one; ties go to more colours, then to the earlier entry.
size_t BestEntry(const std::vector<DirectoryEntry>& entries, int cx, int cy);

}  // namespace sim::icons
