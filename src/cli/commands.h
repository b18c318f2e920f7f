// The subcommands of brenvale-cli. Each registers itself on the CLI11 app and runs when chosen.
#pragma once

#include <CLI/CLI.hpp>

namespace brenvale::cli {

void add_commands(CLI::App& app);
// Runs the chosen subcommand; its exit code.
int run_selected(CLI::App& app);

}  // namespace brenvale::cli
