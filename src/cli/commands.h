// The command line of brenvale-cli: its subcommands, their options and their dispatch. The
// argument parser lives in this one place only, so that its start-up cost is paid once.
#pragma once

namespace brenvale::cli {

// Parses the arguments and runs the chosen subcommand; the process exit code.
int run_cli(int argc, char** argv);

}  // namespace brenvale::cli
