#include "cli/commands.h"

#include <functional>
#include <memory>
#include <vector>

#include "cli/check_command.h"
#include "cli/compile_command.h"
#include "cli/eds_command.h"
#include "cli/firmware_command.h"
#include "cli/texts_command.h"

namespace brenvale::cli {

namespace {

struct Command {
  CLI::App* sub;
  std::function<int()> run;
};

std::vector<Command>& commands() {
  static std::vector<Command> list;
  return list;
}

}  // namespace

void add_commands(CLI::App& app) {
  auto texts = std::make_shared<TextsOptions>();
  CLI::App* sub = app.add_subcommand("texts", "Print the text catalogue in the language-file format");
  add_texts_options(*sub, *texts);
  commands().push_back({sub, [texts] { return run_texts(*texts); }});

  auto compile = std::make_shared<CompileOptions>();
  sub = app.add_subcommand("compile", "Compile a configuration and write its seven files into its bin folder");
  add_compile_options(*sub, *compile);
  commands().push_back({sub, [compile] { return run_compile(*compile); }});

  auto check = std::make_shared<CheckOptions>();
  sub = app.add_subcommand("check", "Check every table of a configuration and list references to missing frames");
  add_check_options(*sub, *check);
  commands().push_back({sub, [check] { return run_check(*check); }});

  auto eds = std::make_shared<EdsOptions>();
  sub = app.add_subcommand("eds", "Write the electronic data sheet (EDS) of a configuration");
  add_eds_options(*sub, *eds);
  commands().push_back({sub, [eds] { return run_eds(*eds); }});

  auto firmware = std::make_shared<FirmwareOptions>();
  sub = app.add_subcommand("firmware", "Merge PROJECT_DIR/bin/bank1.bin and bank2.bin into a master firmware, "
                                       "written to PROJECT_DIR/New_<name of MASTER_SX>");
  add_firmware_options(*sub, *firmware);
  commands().push_back({sub, [firmware] { return run_firmware(*firmware); }});
}

int run_selected(CLI::App& app) {
  for (const Command& command : commands()) {
    if (command.sub->parsed()) return command.run();
  }
  return 2;
}

}  // namespace brenvale::cli
