// What the fuzz targets share: a scratch folder per process (in memory where the system offers
// one), whole-file helpers, and a check that stops the run with a message when a property of
// the reader does not hold, so that the fuzzer keeps the input that broke it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

#include <unistd.h>

namespace brenvale::fuzz {

// A folder that lives as long as the process; each input reuses it. The fuzz driver names one
// (BRENVALE_FUZZ_SCRATCH) and removes it after the run, since libFuzzer ends without running
// exit handlers; a target started by hand makes its own in memory and leaves it.
inline const std::filesystem::path& scratch_folder() {
  static const std::filesystem::path folder = [] {
    if (const char* given = std::getenv("BRENVALE_FUZZ_SCRATCH"); given && *given) {
      std::filesystem::create_directories(given);
      return std::filesystem::path(given);
    }
    std::error_code ec;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                      : std::filesystem::temp_directory_path();
    std::string templ = (base / "brenvale-fuzz-XXXXXX").string();
    if (::mkdtemp(templ.data()) == nullptr) std::abort();
    return std::filesystem::path(templ);
  }();
  return folder;
}

// A fresh, empty sub-folder of the scratch folder.
inline std::filesystem::path fresh_folder(const char* name) {
  const std::filesystem::path folder = scratch_folder() / name;
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::create_directories(folder);
  return folder;
}

inline void write_bytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::set<std::string> entry_names(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

[[noreturn]] inline void broken(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "fuzz property broken: %s\n", what);
  if (!detail.empty()) std::fprintf(stderr, "%.*s\n", static_cast<int>(detail.size()), detail.data());
  std::abort();
}

inline void require(bool holds, const char* what, std::string_view detail = {}) {
  if (!holds) broken(what, detail);
}

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace brenvale::fuzz
