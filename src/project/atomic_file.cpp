#include "project/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace brenvale {

namespace {

std::optional<std::size_t> g_fault_after;

Error write_error(const std::filesystem::path& path, int err) {
  return Error{"Cannot write " + path.string() + ": " + std::strerror(err)};
}

// A name for the temporary file beside the target: hidden, and telling what it stands for.
std::string temp_name(const std::filesystem::path& folder, const std::filesystem::path& path, const char* suffix) {
  return (folder / ("." + path.filename().string() + ".tmp-" + suffix)).string();
}

std::string random_suffix() {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  std::mt19937 random(seed ^ static_cast<unsigned>(::getpid()) ^ (counter++ * 2654435761u));
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string s(6, 'x');
  for (char& c : s) c = kLetters[random() % (sizeof kLetters - 1)];
  return s;
}

// A complete temporary file beside its target, not yet renamed. Preferably a file without any
// name (O_TMPFILE), so that a process killed while writing leaves nothing behind; it is linked
// under a temporary name only just before the rename. Where the file system cannot do that, a
// named temporary file.
struct TempFile {
  std::filesystem::path target;
  int fd = -1;        // open until the file is committed or discarded
  std::string named;  // empty while the file has no name
};

void discard(TempFile& temp) {
  if (temp.fd >= 0) ::close(temp.fd);
  temp.fd = -1;
  if (!temp.named.empty()) ::unlink(temp.named.c_str());
  temp.named.clear();
}

std::filesystem::path folder_of(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

int open_temp(TempFile& temp) {
#ifdef O_TMPFILE
  // Naming it later goes through /proc.
  static const bool can_name = ::access("/proc/self/fd", X_OK) == 0;
  if (can_name) {
    temp.fd = ::open(folder_of(temp.target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (temp.fd >= 0) return 0;
  }
#endif
  temp.named = temp_name(folder_of(temp.target), temp.target, "XXXXXX");
  temp.fd = ::mkstemp(temp.named.data());
  if (temp.fd >= 0) return 0;
  const int err = errno;
  temp.named.clear();
  return err;
}

// Gives a complete unnamed file a temporary name in its folder.
int name_temp(TempFile& temp) {
  if (!temp.named.empty()) return 0;
  const std::string self = "/proc/self/fd/" + std::to_string(temp.fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = temp_name(folder_of(temp.target), temp.target, random_suffix().c_str());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temp.named = std::move(name);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

Result<TempFile> write_temp(const std::filesystem::path& path, std::string_view bytes, bool flush) {
  struct stat old_stat {};
  const bool had_file = ::stat(path.c_str(), &old_stat) == 0;
  // A read-only file is the user's way to protect it; renaming over it would ignore that.
  if (had_file && (old_stat.st_mode & S_IWUSR) == 0) {
    return Error{"Cannot write " + path.string() + ": the file is read-only"};
  }
  if (had_file && S_ISDIR(old_stat.st_mode)) {
    return Error{"Cannot write " + path.string() + ": a folder of that name exists"};
  }

  TempFile temp{path};
  if (const int err = open_temp(temp); err != 0) return write_error(path, err);
  auto fail = [&](int err) -> Error {
    discard(temp);
    return write_error(path, err);
  };

  // The fault seam cuts the write short exactly where a full disk would.
  const bool faulted = g_fault_after && bytes.size() > *g_fault_after;
  const std::size_t to_write = faulted ? *g_fault_after : bytes.size();
  std::size_t written = 0;
  while (written < to_write) {
    const ssize_t n = ::write(temp.fd, bytes.data() + written, to_write - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    written += static_cast<std::size_t>(n);
  }
  if (faulted) return fail(ENOSPC);

  const mode_t mode = had_file ? (old_stat.st_mode & 07777) : 0644;
  if (::fchmod(temp.fd, mode) != 0) return fail(errno);
  if (flush && ::fsync(temp.fd) != 0) return fail(errno);
  return temp;
}

// Names the temporary file, closes it and renames it over its target.
Status commit(TempFile& temp) {
  auto fail = [&](int err) -> Status {
    discard(temp);
    return write_error(temp.target, err);
  };
  if (const int err = name_temp(temp); err != 0) return fail(err);
  const int fd = temp.fd;
  temp.fd = -1;
  if (::close(fd) != 0) return fail(errno);
  if (::rename(temp.named.c_str(), temp.target.c_str()) != 0) return fail(errno);
  temp.named.clear();
  return ok_status();
}

}  // namespace

void set_write_fault_after(std::optional<std::size_t> bytes) { g_fault_after = bytes; }

Status write_file_atomic(const std::filesystem::path& path, std::string_view bytes) {
  Result<TempFile> temp = write_temp(path, bytes, /*flush=*/true);
  if (!temp) return temp.error();
  return commit(*temp);
}

Status write_files_atomic(std::span<const FileWrite> files) {
  std::vector<TempFile> temps;
  std::string failures;
  for (const FileWrite& file : files) {
    Result<TempFile> temp = write_temp(file.path, file.bytes, /*flush=*/false);
    if (temp) {
      temps.push_back(std::move(*temp));
    } else {
      if (!failures.empty()) failures += "\n";
      failures += temp.error().message;
    }
  }
  if (!failures.empty()) {
    for (TempFile& temp : temps) discard(temp);
    return Error{failures};
  }

  for (TempFile& temp : temps) {
    if (Status renamed = commit(temp); !renamed) {
      if (!failures.empty()) failures += "\n";
      failures += renamed.error().message;
    }
  }
  if (!failures.empty()) return Error{failures};
  return ok_status();
}

}  // namespace brenvale
