// Whole-file replacement that never leaves a half-written file: the bytes go to a temporary
// file in the same folder, which is flushed and then renamed over the target. A failure leaves
// the old file as it was and removes the temporary file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "project/result.h"

namespace brenvale {

Status write_file_atomic(const std::filesystem::path& path, std::string_view bytes);

struct FileWrite {
  std::filesystem::path path;
  std::string_view bytes;
};

// Replaces several files as one set: each is written to its temporary file first, and only when
// every one is complete are they renamed into place, so either all files are replaced or none is;
// the error names every file that could not be written. Meant for output that is rebuilt from the
// tables at will (the compiled files): the temporary files are not flushed one by one, which
// would cost a disk round trip each, and the rename still keeps a killed process from leaving a
// partial file.
Status write_files_atomic(std::span<const FileWrite> files);

// Test seam: when set, the next writes fail after this many bytes have reached the temporary
// file, as a full disk would make them fail.
void set_write_fault_after(std::optional<std::size_t> bytes);

}  // namespace brenvale
