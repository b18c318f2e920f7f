#include "project/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

// A complete temporary file beside its target, not yet flushed or renamed.
struct TempFile {
  std::filesystem::path target;
  std::string temp;
};

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

  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::string temp = (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return write_error(path, errno);

  auto fail = [&](int err) -> Error {
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
  if (flush && ::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return write_error(path, err);
  }
  return TempFile{path, std::move(temp)};
}

Status rename_into_place(const TempFile& file) {
  if (::rename(file.temp.c_str(), file.target.c_str()) != 0) {
    const int err = errno;
    ::unlink(file.temp.c_str());
    return write_error(file.target, err);
  }
  return ok_status();
}

}  // namespace

void set_write_fault_after(std::optional<std::size_t> bytes) { g_fault_after = bytes; }

Status write_file_atomic(const std::filesystem::path& path, std::string_view bytes) {
  Result<TempFile> temp = write_temp(path, bytes, /*flush=*/true);
  if (!temp) return temp.error();
  return rename_into_place(*temp);
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
    for (const TempFile& temp : temps) ::unlink(temp.temp.c_str());
    return Error{failures};
  }

  for (const TempFile& temp : temps) {
    if (Status renamed = rename_into_place(temp); !renamed) {
      if (!failures.empty()) failures += "\n";
      failures += renamed.error().message;
    }
  }
  if (!failures.empty()) return Error{failures};
  return ok_status();
}

}  // namespace brenvale
