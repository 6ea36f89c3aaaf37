// Icon data is little-endian and unaligned: read it byte by byte.
#include "shell/ico_format.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace sim::icons {

namespace {

constexpr size_t kIconDirSize = 6;
constexpr size_t kFileEntrySize = 16;
constexpr size_t kGroupEntrySize = 14;
constexpr size_t kBitmapHeaderSize = 40;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Dword(const uint8_t* p) { return Word(p) | static_cast<uint32_t>(Word(p + 2)) << 16; }
uint32_t BigEndianDword(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | p[2] << 8 | p[3];
}

int Dimension(uint8_t stored) { return stored ? stored : 256; }

bool HeaderValid(const uint8_t* p, bool icon) {
  return Word(p) == 0 && Word(p + 2) == (icon ? 1 : 2) && Word(p + 4) >= 1;
}

}  // namespace

std::optional<std::vector<DirectoryEntry>> ParseIconFile(std::span<const uint8_t> bytes, bool icon) {
  if (bytes.size() < kIconDirSize || !HeaderValid(bytes.data(), icon)) return std::nullopt;
  size_t count = Word(bytes.data() + 4);
  if (bytes.size() < kIconDirSize + count * kFileEntrySize) return std::nullopt;
  std::vector<DirectoryEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = bytes.data() + kIconDirSize + i * kFileEntrySize;
    DirectoryEntry entry;
    entry.width = Dimension(e[0]);
    entry.height = Dimension(e[1]);
    entry.bit_count = Word(e + 6);
    entry.size = Dword(e + 8);
    entry.offset = Dword(e + 12);
    if (entry.size == 0 || entry.offset > bytes.size() || entry.size > bytes.size() - entry.offset)
      return std::nullopt;
    entries.push_back(entry);
  }
  return entries;
}

std::optional<std::vector<DirectoryEntry>> ParseGroupDirectory(const uint8_t* bytes, bool icon) {
  if (!bytes || !HeaderValid(bytes, icon)) return std::nullopt;
  size_t count = Word(bytes + 4);
  std::vector<DirectoryEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = bytes + kIconDirSize + i * kGroupEntrySize;
    DirectoryEntry entry;
    if (icon) {
      entry.width = Dimension(e[0]);
      entry.height = Dimension(e[1]);
    } else {  // cursor entries hold 16-bit sizes, the height counting the mask
      entry.width = Word(e);
      entry.height = Word(e + 2) / 2;
    }
    entry.bit_count = Word(e + 6);
    entry.size = Dword(e + 8);
    entry.id = Word(e + 12);
    entries.push_back(entry);
  }
  return entries;
}

std::optional<ImageSize> MeasureImage(std::span<const uint8_t> image) {
  if (image.size() >= 24 && std::equal(std::begin(kPngSignature), std::end(kPngSignature), image.begin())) {
    uint32_t width = BigEndianDword(image.data() + 16);
    uint32_t height = BigEndianDword(image.data() + 20);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
    return ImageSize{static_cast<int>(width), static_cast<int>(height)};
  }
  if (image.size() < kBitmapHeaderSize) return std::nullopt;
  uint32_t header_size = Dword(image.data());
  int32_t width = static_cast<int32_t>(Dword(image.data() + 4));
  int32_t height = static_cast<int32_t>(Dword(image.data() + 8));
  uint16_t planes = Word(image.data() + 12);
  uint16_t bits = Word(image.data() + 14);
  uint32_t colors_used = Dword(image.data() + 32);
  if (header_size < kBitmapHeaderSize || header_size > image.size() || planes != 1) return std::nullopt;
  if (width <= 0 || width > 4096 || height <= 0 || height > 8192) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
  uint64_t palette = bits <= 8 ? uint64_t{colors_used ? colors_used : 1u << bits} * 4 : 0;
  uint64_t rows = static_cast<uint64_t>(height) / 2;
  uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  if (header_size + palette + stride * rows > image.size()) return std::nullopt;  // colour pixels cut off
  return ImageSize{width, height / 2};
}

size_t BestEntry(const std::vector<DirectoryEntry>& entries, int cx, int cy) {
  auto rank = [&](const DirectoryEntry& e) {
    bool exact = e.width == cx && e.height == cy;
    bool larger = e.width >= cx && e.height >= cy;
    long area = static_cast<long>(e.width) * e.height;
    // Smaller tuples are better.
    return std::make_tuple(exact ? 0 : larger ? 1 : 2, larger ? area : -area, -e.bit_count);
  };
  size_t best = 0;
  for (size_t i = 1; i < entries.size(); ++i)
    if (rank(entries[i]) < rank(entries[best])) best = i;
  return best;
}

}  // namespace sim::icons
