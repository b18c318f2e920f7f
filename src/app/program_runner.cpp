#include "app/program_runner.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace brenvale {

namespace {

pid_t spawn(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> words;
  words.reserve(arguments.size() + 1);
  words.push_back(program.string());
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  pid_t pid = -1;
  // posix_spawn reports a failed exec (missing file, no execute permission) as its own error,
  // so a program that cannot start is known before the first look at its state.
  if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

// A program that outlives the wait is still our child; reap it when it ends so that it does not
// linger as a zombie for the rest of the run.
void reap_later(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

ProgramRun start_program_and_wait(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                                  ShowState /*show*/, std::chrono::milliseconds limit) {
  ProgramRun run;
  run.pid = spawn(program, arguments);
  if (run.pid < 0) return run;

  const auto started = std::chrono::steady_clock::now();
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(run.pid, &status, WNOHANG);
    if (r == run.pid || (r < 0 && errno != EINTR)) {
      run.end = ProgramEnd::kEnded;
      return run;
    }
    if (std::chrono::steady_clock::now() - started >= limit) {
      run.end = ProgramEnd::kTimedOut;
      reap_later(run.pid);
      return run;
    }
    std::this_thread::sleep_for(kProgramPollInterval);
  }
}

bool start_program(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   ShowState /*show*/) {
  const pid_t pid = spawn(program, arguments);
  if (pid < 0) return false;
  reap_later(pid);
  return true;
}

std::vector<std::string> split_parameters(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  std::size_t i = 0;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
  while (i < text.size()) {
    const char c = text[i];
    if (blank(c)) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      ++i;
      continue;
    }
    in_word = true;
    if (c == '\'') {
      ++i;
      while (i < text.size() && text[i] != '\'') word += text[i++];
      ++i;
    } else if (c == '"') {
      ++i;
      while (i < text.size() && text[i] != '"') {
        if (text[i] == '\\' && i + 1 < text.size()) {
          const char next = text[i + 1];
          if (next == '"' || next == '\\' || next == '$' || next == '`') {
            word += next;
            i += 2;
            continue;
          }
        }
        word += text[i++];
      }
      ++i;
    } else if (c == '\\' && i + 1 < text.size()) {
      word += text[i + 1];
      i += 2;
    } else {
      word += c;
      ++i;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

std::string quote_parameter(std::string_view argument) {
  std::string text = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '\\' || c == '$' || c == '`') text += '\\';
    text += c;
  }
  text += '"';
  return text;
}

}  // namespace brenvale
