// Snapshots of a folder tree (every file's path and bytes), to show that a failed or killed run
// changed nothing, or that every output it left is complete.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace brenvale::testing {

using FileTree = std::map<std::string, std::string>;

inline FileTree file_tree(const std::filesystem::path& folder) {
  FileTree tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = std::filesystem::relative(entry.path(), folder).string();
    tree[name] = entry.is_regular_file() ? read_text(entry.path()) : std::string("<folder>");
  }
  return tree;
}

// Copies every file of `from` into `to` (created when missing).
inline void copy_tree(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::filesystem::create_directories(to);
  std::filesystem::copy(from, to, std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::overwrite_existing);
}

}  // namespace brenvale::testing
