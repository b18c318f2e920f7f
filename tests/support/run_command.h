// Runs a command line through the shell and collects its output, for tests of brenvale-cli.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace brenvale::testing {

struct CommandResult {
  int exit_code = -1;
  std::string out;
};

inline CommandResult run_command(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace brenvale::testing
