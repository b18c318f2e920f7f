// brenvale-cli: the configurator's core without a display, for scripts and build servers.
#include <csignal>
#include <malloc.h>

#include "cli/commands.h"

int main(int argc, char** argv) {
  // A write beyond the file size limit must fail like a full disk, so that the output is left
  // as it was and the user gets a message; the default action would end the process mid-write.
  std::signal(SIGXFSZ, SIG_IGN);
  // One command runs per process and frees little before it ends: keep freed memory for reuse
  // instead of returning it to the system, whose page faults would cost more than a compile.
  ::mallopt(M_MMAP_THRESHOLD, 64 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 128 << 20);
  return brenvale::cli::run_cli(argc, argv);
}
