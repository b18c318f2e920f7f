// Stand-ins for the external programs the configurator starts: small shell scripts, and a wait
// for the file such a script writes when it was started without waiting.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <sys/stat.h>

#include "support/temp_dir.h"

namespace brenvale::testing {

inline void make_script(const std::filesystem::path& path, const std::string& body) {
  write_text(path, "#!/bin/sh\n" + body + "\n");
  ::chmod(path.c_str(), 0755);
}

// Waits up to ten seconds for `path`; its text, or empty when it never came.
inline std::string wait_for(const std::filesystem::path& path) {
  for (int i = 0; i < 500; ++i) {
    if (std::filesystem::exists(path)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      return read_text(path);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return {};
}

}  // namespace brenvale::testing
