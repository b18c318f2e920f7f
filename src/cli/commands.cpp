#include "cli/commands.h"

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/product.h"
#include "cli/check_command.h"
#include "cli/compile_command.h"
#include "cli/eds_command.h"
#include "cli/firmware_command.h"
#include "cli/texts_command.h"

namespace brenvale::cli {

namespace {

// The options of every subcommand; only the chosen one is filled and run.
struct AllOptions {
  TextsOptions texts;
  CompileOptions compile;
  CheckOptions check;
  EdsOptions eds;
  FirmwareOptions firmware;
};

struct Command {
  CLI::App* sub;
  std::function<int()> run;
};

std::vector<Command> add_commands(CLI::App& app, AllOptions& o) {
  std::vector<Command> commands;

  CLI::App* sub = app.add_subcommand("texts", "Print the text catalogue in the language-file format");
  sub->add_option("--app-dir", o.texts.app_dir, "Application folder (default: the executable's folder)");
  sub->add_option("--language", o.texts.language, "Language to load from LANGUAGE (default: English)");
  commands.push_back({sub, [&o] { return run_texts(o.texts); }});

  sub = app.add_subcommand("compile", "Compile a configuration and write its seven files into its bin folder");
  sub->add_option("PROJECT_DIR", o.compile.project_dir, "Configuration folder holding the table files")->required();
  commands.push_back({sub, [&o] { return run_compile(o.compile); }});

  sub = app.add_subcommand("check", "Check every table of a configuration and list references to missing frames");
  sub->add_option("PROJECT_DIR", o.check.project_dir, "Configuration folder holding the table files")->required();
  commands.push_back({sub, [&o] { return run_check(o.check); }});

  sub = app.add_subcommand("eds", "Write the electronic data sheet (EDS) of a configuration");
  sub->add_option("PROJECT_DIR", o.eds.project_dir, "Configuration folder holding the table files")->required();
  sub->add_option("OUTPUT", o.eds.output, "EDS file to write (replaced when it exists)")->required();
  sub->add_option("--template", o.eds.template_name,
                  "with-port or without-port (default: by the device variant in ParGen.xml)")
      ->check(CLI::IsMember({"with-port", "without-port"}));
  commands.push_back({sub, [&o] { return run_eds(o.eds); }});

  sub = app.add_subcommand("firmware", "Merge PROJECT_DIR/bin/bank1.bin and bank2.bin into a master firmware, "
                                       "written to PROJECT_DIR/New_<name of MASTER_SX>");
  sub->add_option("PROJECT_DIR", o.firmware.project_dir,
                  "Configuration folder; its bin folder holds bank1.bin and bank2.bin")
      ->required();
  sub->add_option("MASTER_SX", o.firmware.master, "Master firmware (Motorola S-records)")->required();
  commands.push_back({sub, [&o] { return run_firmware(o.firmware); }});
  return commands;
}

}  // namespace

int run_cli(int argc, char** argv) {
  CLI::App app{std::string("Brenvale ") + kVersion + " - configurator of the " + kProductCode + " " +
               kProductDescription + ", without a display"};
  app.require_subcommand(0, 1);
  bool show_version = false;
  app.add_flag("--version", show_version, "Print the version and exit");
  AllOptions options;
  const std::vector<Command> commands = add_commands(app, options);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Usage errors exit 2 so that scripts can tell them from failed work.
    const int code = app.exit(e);
    return e.get_exit_code() == 0 ? code : 2;
  }
  if (show_version) {
    std::cout << kVersion << "\n";
    return 0;
  }
  for (const Command& command : commands) {
    if (command.sub->parsed()) return command.run();
  }
  std::cout << app.help();
  return 0;
}

}  // namespace brenvale::cli
