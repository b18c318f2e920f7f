#include "cli/compile_command.h"

#include <iostream>
#include <system_error>

#include "compiler/compile_clock.h"
#include "compiler/compiler.h"
#include "project/project_store.h"

namespace brenvale::cli {

int run_compile(const CompileOptions& options) {
  const ConfigFiles files{options.project_dir};
  std::error_code ec;
  if (!std::filesystem::is_directory(files.folder, ec)) {
    std::cerr << "The configuration folder " << files.folder.string() << " does not exist; no file was written.\n";
    return 1;
  }
  // One compile per process: the bank buffers start zero-filled, as at program start.
  Compiler compiler;
  const Result<UpdatePath> done = compile_and_write(compiler, files, compile_clock());
  if (!done) {
    std::cerr << done.error().message << "\n";
    return 1;
  }
  return 0;
}

}  // namespace brenvale::cli
