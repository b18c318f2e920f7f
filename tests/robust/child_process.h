// Runs brenvale-cli as a child process that a test can stop at any moment with SIGKILL, or run
// under a file size limit.
#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brenvale::testing {

struct ChildOptions {
  std::vector<std::string> args;  // args[0] is the program
  std::vector<std::string> env;   // added to the test's environment, "NAME=value"
  // The file size limit of the child (RLIMIT_FSIZE), as `prlimit --fsize` sets it.
  std::optional<rlim_t> file_size_limit;
  // Kill the child this long after it started; nothing: let it finish.
  std::optional<std::chrono::microseconds> kill_after;
  // Collect the child's standard error (through a pipe, which no file size limit cuts);
  // not together with kill_after.
  bool capture_stderr = false;
};

struct ChildEnd {
  bool killed = false;  // ended by our SIGKILL (or any signal)
  int signal = 0;
  int exit_code = -1;
  std::string err;
};

inline ChildEnd run_child(const ChildOptions& options) {
  std::vector<char*> argv;
  for (const std::string& a : options.args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int pipe_fds[2] = {-1, -1};
  if (options.capture_stderr && ::pipe(pipe_fds) != 0) return ChildEnd{};
  const pid_t pid = ::fork();
  if (pid == 0) {
    for (const std::string& e : options.env) ::putenv(const_cast<char*>(e.c_str()));
    if (options.file_size_limit) {
      const rlimit limit{*options.file_size_limit, *options.file_size_limit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, 1);
    ::dup2(options.capture_stderr ? pipe_fds[1] : null, 2);
    if (options.capture_stderr) {
      ::close(pipe_fds[0]);
      ::close(pipe_fds[1]);
    }
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ChildEnd end;
  if (options.capture_stderr) {
    ::close(pipe_fds[1]);
    char buffer[4096];
    ssize_t n = 0;
    while (pid > 0 && ((n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))) {
      if (n > 0) end.err.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipe_fds[0]);
  }
  if (pid < 0) return end;
  if (options.kill_after) {
    std::this_thread::sleep_for(*options.kill_after);
    ::kill(pid, SIGKILL);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status)) {
    end.killed = true;
    end.signal = WTERMSIG(status);
  } else if (WIFEXITED(status)) {
    end.exit_code = WEXITSTATUS(status);
  }
  return end;
}

}  // namespace brenvale::testing
