#include "project/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace brenvale {

namespace {

std::optional<std::size_t> g_fault_after;

Error write_error(const std::filesystem::path& path, int err) {
  return Error{"Cannot write " + path.string() + ": " + std::strerror(err)};
}

}  // namespace

void set_write_fault_after(std::optional<std::size_t> bytes) { g_fault_after = bytes; }

Status write_file_atomic(const std::filesystem::path& path, std::string_view bytes) {
  struct stat old_stat {};
  const bool had_file = ::stat(path.c_str(), &old_stat) == 0;
  // A read-only file is the user's way to protect it; renaming over it would ignore that.
  if (had_file && (old_stat.st_mode & S_IWUSR) == 0) {
    return Error{"Cannot write " + path.string() + ": the file is read-only"};
  }
  if (had_file && S_ISDIR(old_stat.st_mode)) {
    return Error{"Cannot write " + path.string() + ": a folder of that name exists"};
  }

  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::string temp = (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return write_error(path, errno);

  auto fail = [&](int err) -> Status {
    ::close(fd);
    ::unlink(temp.c_str());
    return write_error(path, err);
  };

  // The fault seam cuts the write short exactly where a full disk would.
  const bool faulted = g_fault_after && bytes.size() > *g_fault_after;
  const std::size_t to_write = faulted ? *g_fault_after : bytes.size();
  std::size_t written = 0;
  while (written < to_write) {
    const ssize_t n = ::write(fd, bytes.data() + written, to_write - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    written += static_cast<std::size_t>(n);
  }
  if (faulted) return fail(ENOSPC);

  const mode_t mode = had_file ? (old_stat.st_mode & 07777) : 0644;
  if (::fchmod(fd, mode) != 0) return fail(errno);
  if (::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return write_error(path, err);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return write_error(path, err);
  }
  return ok_status();
}

}  // namespace brenvale
