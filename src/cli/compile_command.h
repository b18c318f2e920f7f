// brenvale-cli compile PROJECT_DIR: the Update Device compile without a display. Compiles the
// table files of the folder and writes the seven files into its bin folder, with the same
// failure rules. Exit 0 on success, 1 with the message on stderr when the compile or a write
// fails (2, a usage error, comes from the argument parser).
#pragma once

#include <string>

namespace brenvale::cli {

struct CompileOptions {
  std::string project_dir;
};

int run_compile(const CompileOptions& options);

}  // namespace brenvale::cli
