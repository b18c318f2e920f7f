#include "cli/eds_command.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "eds/eds_writer.h"
#include "project/project_store.h"

namespace brenvale::cli {

int run_eds(const EdsOptions& options) {
  const ConfigFiles files{options.project_dir};
  // Missing table files are empty tables; a mistyped folder must not pass for an empty one.
  std::error_code ec;
  if (!std::filesystem::is_directory(files.folder, ec)) {
    std::cerr << "brenvale-cli eds: " << options.project_dir << ": no such configuration folder\n";
    return 1;
  }
  EdsTemplate which = eds_template_for(files);
  if (options.template_name == "with-port") which = EdsTemplate::kWithPort;
  if (options.template_name == "without-port") which = EdsTemplate::kWithoutPort;

  const Status written = write_eds(which, files, options.output);
  if (!written) {
    std::cerr << "brenvale-cli eds: " << written.error().message << "\n";
    return 1;
  }
  return 0;
}

}  // namespace brenvale::cli
