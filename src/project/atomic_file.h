// Whole-file replacement that never leaves a half-written file: the bytes go to a temporary
// file in the same folder, which is flushed and then renamed over the target. A failure leaves
// the old file as it was and removes the temporary file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

#include "project/result.h"

namespace brenvale {

Status write_file_atomic(const std::filesystem::path& path, std::string_view bytes);

// Test seam: when set, the next writes fail after this many bytes have reached the temporary
// file, as a full disk would make them fail.
void set_write_fault_after(std::optional<std::size_t> bytes);

}  // namespace brenvale
