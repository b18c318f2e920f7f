// brenvale-cli: the configurator's core without a display, for scripts and build servers.
#include <csignal>
#include <iostream>
#include <malloc.h>
#include <string>

#include <CLI/CLI.hpp>

#include "app/product.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
  // A write beyond the file size limit must fail like a full disk, so that the output is left
  // as it was and the user gets a message; the default action would end the process mid-write.
  std::signal(SIGXFSZ, SIG_IGN);
  // One command runs per process and frees little before it ends: keep freed memory for reuse
  // instead of returning it to the system, whose page faults would cost more than a compile.
  ::mallopt(M_MMAP_THRESHOLD, 64 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 128 << 20);
  CLI::App app{std::string("Brenvale ") + brenvale::kVersion + " - configurator of the " +
               brenvale::kProductCode + " " + brenvale::kProductDescription + ", without a display"};
  app.require_subcommand(0, 1);
  bool show_version = false;
  app.add_flag("--version", show_version, "Print the version and exit");

  brenvale::cli::add_commands(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Usage errors exit 2 so that scripts can tell them from failed work.
    const int code = app.exit(e);
    return e.get_exit_code() == 0 ? code : 2;
  }
  if (show_version) {
    std::cout << brenvale::kVersion << "\n";
    return 0;
  }
  if (app.get_subcommands().empty()) {
    std::cout << app.help();
    return 0;
  }
  return brenvale::cli::run_selected(app);
}
