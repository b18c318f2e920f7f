#include "cli/eds_command.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "eds/eds_writer.h"
#include "project/project_store.h"

namespace brenvale::cli {

void add_eds_options(CLI::App& sub, EdsOptions& options) {
  sub.add_option("PROJECT_DIR", options.project_dir, "Configuration folder holding the table files")->required();
  sub.add_option("OUTPUT", options.output, "EDS file to write (replaced when it exists)")->required();
  sub.add_option("--template", options.template_name,
                 "with-port or without-port (default: by the device variant in ParGen.xml)")
      ->check(CLI::IsMember({"with-port", "without-port"}));
}

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
