// Starts the external programs that talk to the converter (the Ethernet updater, the flashing
// program). A program is started from its path and an argument list, never through a shell, so
// no character of a path or parameter is ever interpreted.
//
// The show state (hidden or in a normal window) is the caller's wish about the program's window.
// On Linux a program opens its own windows, if any, on the display it finds; the starter has no
// say in it, so the state is accepted and has no effect. Likewise there is no reserved exit code:
// the end of a program is learnt from the process itself, so a program that exits with any code,
// 259 included, counts as ended.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace brenvale {

enum class ShowState { kNormal, kHidden };

// How long the update waits for the external updater before it goes on without it.
inline constexpr std::chrono::milliseconds kProgramWaitLimit{150000};
// The pause between two looks at whether the program has ended.
inline constexpr std::chrono::milliseconds kProgramPollInterval{10};

enum class ProgramEnd {
  kNotStarted,  // missing file, not executable, or refused by the system
  kEnded,       // the program ended within the limit
  kTimedOut,    // the limit passed; the program goes on running on its own
};

struct ProgramRun {
  ProgramEnd end = ProgramEnd::kNotStarted;
  pid_t pid = -1;  // the started process, when it was started
};

// Starts the program and blocks until it has ended or `limit` has passed since its start; returns
// at once when it cannot be started. A program still running at the limit is neither stopped nor
// waited for any longer (it is reaped in the background when it ends).
ProgramRun start_program_and_wait(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                                  ShowState show = ShowState::kNormal,
                                  std::chrono::milliseconds limit = kProgramWaitLimit);

// Starts the program and returns at once; false when it cannot be started.
bool start_program(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   ShowState show = ShowState::kNormal);

// Splits a parameter text into arguments as a POSIX shell splits words, without running one:
// blanks separate arguments; single quotes keep everything up to the next single quote; double
// quotes keep everything up to the next unescaped double quote, where a backslash escapes only
// `"`, `\`, `$` and a backquote; outside quotes a backslash keeps the next character. Nothing is
// expanded. An unterminated quote runs to the end of the text.
std::vector<std::string> split_parameters(std::string_view text);

// The text that `split_parameters` turns back into exactly `argument`: the argument in double
// quotes, with `"`, `\`, `$` and backquotes escaped.
std::string quote_parameter(std::string_view argument);

}  // namespace brenvale
