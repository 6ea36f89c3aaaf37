// The file side of profile files: reading one whole, and replacing one so that a failure at any
// point (including the process ending half-way) leaves either the old or the new file, never a
// mixture.
#pragma once

#include "config/text_encoding.h"

namespace config {

// Files larger than this are no profile files; they are refused rather than loaded.
constexpr LONGLONG kMaxProfileFileSize = 16 * 1024 * 1024;

// Reads the whole file. False, with the last error set, when it cannot be opened or read.
bool ReadWholeFile(LPCWSTR path, Bytes& contents);

// Writes `contents` to a new temporary file in the same folder, flushes it to the disk and
// renames it over `path` (creating `path` when it does not exist). False, with the last error
// set, on any failure; the temporary file is then removed and `path` is left as it was.
bool ReplaceWholeFile(LPCWSTR path, const Bytes& contents);

// The name of the `attempt`-th temporary file a write to `path` by this process would try now:
// "~tb", four hex digits and ".tmp" in the folder of `path` (the digits vary with the process,
// the time and the attempt). When that name would not fit in MAX_PATH but the folder is a full
// drive path, the name gets the "\\?\" prefix that lifts the limit. Empty when no usable
// name exists.
Text TemporaryPathBeside(const Text& path, unsigned attempt);

}  // namespace config
