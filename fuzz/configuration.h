// A configuration in which one table file is the fuzz input and the others are valid: the
// first byte of the input chooses the file among `names`, the rest is its content. The valid
// files come from a fixture folder and are read once.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace brenvale::fuzz {

class FuzzedConfiguration {
 public:
  FuzzedConfiguration(const std::filesystem::path& base_folder, std::span<const char* const> names)
      : names_(names.begin(), names.end()) {
    for (const auto& entry : std::filesystem::directory_iterator(base_folder)) {
      if (entry.is_regular_file()) base_[entry.path().filename().string()] = read_bytes(entry.path());
    }
  }

  // Lays out the configuration for one input in a fresh folder and returns the folder; `name`
  // receives the file that holds the input.
  std::filesystem::path lay_out(const std::uint8_t* data, std::size_t size, std::string& name) const {
    const std::filesystem::path folder = fresh_folder("project");
    name = names_[size == 0 ? 0 : data[0] % names_.size()];
    for (const auto& [file, bytes] : base_) {
      if (file != name) write_bytes(folder / file, bytes);
    }
    write_bytes(folder / name, size == 0 ? std::string_view{} : as_text(data + 1, size - 1));
    return folder;
  }

 private:
  std::vector<std::string> names_;
  std::map<std::string, std::string> base_;
};

}  // namespace brenvale::fuzz
