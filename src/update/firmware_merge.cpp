#include "update/firmware_merge.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace brenvale {

namespace {

constexpr std::size_t kChunk = 1 << 20;
// S-records are at most 514 characters; a longer line is not part of a firmware file, and
// refusing it keeps the memory bounded.
constexpr std::size_t kMaxLine = 1 << 16;
constexpr char kHex[] = "0123456789ABCDEF";

static_assert(kBankRecordCount == 512);

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string system_reason() { return std::strerror(errno); }

bool read_all(int fd, std::uint8_t* data, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, data + got, size - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

// A file descriptor that closes itself.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The output file, written under a temporary name beside it and renamed into place on commit.
// Until then a killed process leaves at most a hidden temporary file, never a partial output.
class PendingOutput {
 public:
  explicit PendingOutput(const std::filesystem::path& path) : path_(path) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    temp_ = (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0) {
      error_ = system_reason();
    } else {
      created_ = true;
    }
    buffer_.reserve(kChunk + kMaxLine);
  }
  ~PendingOutput() {
    if (fd_ >= 0) ::close(fd_);
    if (created_ && !committed_) ::unlink(temp_.c_str());
  }
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  void append(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= kChunk) flush();
  }
  void append_line(std::string_view line) {
    buffer_.append(line);
    buffer_.append("\r\n", 2);
    if (buffer_.size() >= kChunk) flush();
  }

  bool commit() {
    flush();
    if (!ok()) return false;
    if (::fchmod(fd_, 0644) != 0 || ::fsync(fd_) != 0) return fail();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return fail();
    if (::rename(temp_.c_str(), path_.c_str()) != 0) return fail();
    committed_ = true;
    return true;
  }

 private:
  bool fail() {
    if (error_.empty()) error_ = system_reason();
    return false;
  }
  void flush() {
    std::size_t done = 0;
    while (ok() && done < buffer_.size()) {
      const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        fail();
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
  }

  std::filesystem::path path_;
  std::string temp_;
  int fd_ = -1;
  bool created_ = false;
  bool committed_ = false;
  std::string error_;
  std::string buffer_;
};

struct BankStage {
  const FirmwareBank* bank;
  std::string records;  // the 512 bank records, each ending with CR LF
  bool inserted = false;
};

FirmwareMergeResult failed(FirmwareMergeResult result, MergeFailure failure, int bank,
                           const std::filesystem::path& file, std::string detail = {}) {
  result.failure = failure;
  result.bank = bank;
  result.file = file;
  result.detail = std::move(detail);
  for (auto& b : result.banks) {
    if (b) b = BankMerge::kFailed;
  }
  return result;
}

bool is_dir(const std::filesystem::path& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool is_file(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A merge that was killed leaves its hidden temporary file; the next merge clears it away.
void remove_stale_temporaries(const std::filesystem::path& output) {
  const std::string prefix = "." + output.filename().string() + ".tmp-";
  std::error_code ec;
  const std::filesystem::path folder = output.has_parent_path() ? output.parent_path() : ".";
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
      std::error_code ignored;
      std::filesystem::remove(it->path(), ignored);
    }
  }
}

}  // namespace

std::string new_firmware_name(const std::string& master_name) { return "New_" + master_name; }

std::string bank_record(std::uint32_t address, const std::uint8_t* data) {
  std::string line = "S224";
  unsigned sum = 0x24;
  const std::uint8_t address_bytes[3] = {static_cast<std::uint8_t>(address >> 16),
                                         static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address)};
  const auto put = [&](std::uint8_t byte) {
    line += kHex[byte >> 4];
    line += kHex[byte & 0x0F];
    sum += byte;
  };
  for (std::uint8_t b : address_bytes) put(b);
  for (std::size_t i = 0; i < kBankRecordBytes; ++i) put(data[i]);
  const std::uint8_t checksum = static_cast<std::uint8_t>(~sum & 0xFF);
  line += kHex[checksum >> 4];
  line += kHex[checksum & 0x0F];
  return line;
}

FirmwareMergeResult merge_firmware(const FirmwareJob& job, const MergeProgress& progress) {
  FirmwareMergeResult result;
  for (std::size_t i = 0; i < kFirmwareBanks.size(); ++i) {
    if (job.selected[i]) result.banks[i] = BankMerge::kFailed;
  }

  // An old output must not survive a merge that fails: it would be flashed for the new one.
  if (!job.output.filename().empty() && !is_dir(job.output)) {
    ::unlink(job.output.c_str());
    remove_stale_temporaries(job.output);
  }

  // The checks of every bank's turn, in the order the turns would meet them.
  if (!is_file(job.master)) return failed(result, MergeFailure::kMasterMissing, 0, job.master);
  if (job.output.filename().empty()) return failed(result, MergeFailure::kOutputNameEmpty, 0, job.output);
  std::vector<BankStage> stages;
  for (std::size_t i = 0; i < kFirmwareBanks.size(); ++i) {
    if (!job.selected[i]) continue;
    const FirmwareBank& bank = kFirmwareBanks[i];
    if (!is_dir(job.bin_folder)) return failed(result, MergeFailure::kBinFolderMissing, bank.number, job.bin_folder);
    const std::filesystem::path file = job.bin_folder / ("bank" + std::to_string(bank.number) + ".bin");
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0 || !is_file(file)) return failed(result, MergeFailure::kBankFileMissing, bank.number, file);
    std::uint8_t data[kBankBytes + 1];
    std::size_t got = 0;
    if (!read_all(fd.get(), data, sizeof data, got)) {
      return failed(result, MergeFailure::kReadFailed, bank.number, file, system_reason());
    }
    if (got != kBankBytes) {
      return failed(result, MergeFailure::kBankFileSize, bank.number, file,
                    got > kBankBytes ? "more than " + std::to_string(kBankBytes) + " bytes"
                                     : std::to_string(got) + " bytes instead of " + std::to_string(kBankBytes));
    }
    BankStage stage{&bank, {}};
    stage.records.reserve(kBankRecordCount * 78);
    for (std::size_t r = 0; r < kBankRecordCount; ++r) {
      stage.records += bank_record(bank.first + static_cast<std::uint32_t>(r * kBankRecordBytes),
                                   data + r * kBankRecordBytes);
      stage.records += "\r\n";
    }
    stages.push_back(std::move(stage));
  }

  Fd master(::open(job.master.c_str(), O_RDONLY | O_CLOEXEC));
  if (master.get() < 0) return failed(result, MergeFailure::kReadFailed, 0, job.master, system_reason());
  struct stat master_stat {};
  ::fstat(master.get(), &master_stat);
  struct stat output_stat {};
  if (::stat(job.output.c_str(), &output_stat) == 0 && output_stat.st_dev == master_stat.st_dev &&
      output_stat.st_ino == master_stat.st_ino) {
    return failed(result, MergeFailure::kWriteFailed, 0, job.output, "the output would replace the master file");
  }

  PendingOutput output(job.output);
  if (!output.ok()) return failed(result, MergeFailure::kWriteFailed, 0, job.output, output.error());

  std::uint64_t total = static_cast<std::uint64_t>(master_stat.st_size);
  for (const BankStage& stage : stages) total += stage.records.size();
  std::uint64_t done = 0;
  if (progress) progress(0, total);

  bool end_seen = false;
  std::size_t line_number = 0;
  std::string carry;  // the start of a line cut by the end of a chunk
  std::vector<char> chunk(kChunk);

  // Handles one line without its line end; an error text when the line cannot be read.
  const auto handle = [&](std::string_view line) -> std::string {
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() >= 2 && line[0] == 'S' && (line[1] == '1' || line[1] == '2')) {
      const std::size_t digits = line[1] == '1' ? 4 : 6;
      if (line.size() < 4 + digits) return "the record is too short to hold its address";
      std::uint32_t address = 0;
      for (std::size_t i = 4; i < 4 + digits; ++i) {
        const int v = hex_value(line[i]);
        if (v < 0) return "the address \"" + std::string(line.substr(4, digits)) + "\" is not hexadecimal";
        address = address << 4 | static_cast<std::uint32_t>(v);
      }
      for (BankStage& stage : stages) {
        if (address >= stage.bank->first && address <= stage.bank->last) {
          if (!stage.inserted) {
            output.append(stage.records);
            done += stage.records.size();
            stage.inserted = true;
          }
          return {};
        }
      }
    } else if (line.size() >= 2 && line[0] == 'S' && line[1] == '9') {
      // The end record settles each bank: its records went in, or its range is not there.
      end_seen = true;
      for (BankStage& stage : stages) {
        result.banks[static_cast<std::size_t>(stage.bank->number - 1)] =
            stage.inserted ? BankMerge::kInserted : BankMerge::kNotFound;
      }
    }
    output.append_line(line);
    return {};
  };

  for (;;) {
    ssize_t n = ::read(master.get(), chunk.data(), chunk.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return failed(result, MergeFailure::kReadFailed, 0, job.master, system_reason());
    }
    if (n == 0) break;
    std::string_view rest(chunk.data(), static_cast<std::size_t>(n));
    done += rest.size();
    while (!rest.empty()) {
      const std::size_t eol = rest.find('\n');
      if (eol == std::string_view::npos) {
        carry.append(rest);
        if (carry.size() > kMaxLine) {
          return failed(result, MergeFailure::kMalformedLine, 0, job.master, "the line is too long");
        }
        break;
      }
      std::string problem;
      if (!carry.empty()) {
        carry.append(rest.substr(0, eol));
        problem = handle(carry);
        carry.clear();
      } else {
        problem = handle(rest.substr(0, eol));
      }
      if (!problem.empty()) {
        result = failed(result, MergeFailure::kMalformedLine, 0, job.master, problem);
        result.line = line_number;
        return result;
      }
      rest.remove_prefix(eol + 1);
    }
    if (!output.ok()) return failed(result, MergeFailure::kWriteFailed, 0, job.output, output.error());
    if (progress) progress(done, total);
  }
  if (!carry.empty()) {
    const std::string problem = handle(carry);
    if (!problem.empty()) {
      result = failed(result, MergeFailure::kMalformedLine, 0, job.master, problem);
      result.line = line_number;
      return result;
    }
  }

  if (!end_seen) return failed(result, MergeFailure::kNoEndRecord, 0, job.master);
  for (const BankStage& stage : stages) {
    if (!stage.inserted || result.banks[static_cast<std::size_t>(stage.bank->number - 1)] != BankMerge::kInserted) {
      result.banks_not_found.push_back(stage.bank->number);
    }
  }
  if (!result.banks_not_found.empty()) {
    result.failure = MergeFailure::kBanksNotInMaster;
    result.file = job.master;
    return result;
  }
  if (!output.commit()) return failed(result, MergeFailure::kWriteFailed, 0, job.output, output.error());
  if (progress) progress(total, total);
  return result;
}

std::string firmware_merge_message(const FirmwareMergeResult& result) {
  if (!result.failure) return {};
  const std::string file = result.file.string();
  const std::string bank_file = "bank" + std::to_string(result.bank) + ".bin";
  switch (*result.failure) {
    case MergeFailure::kMasterMissing:
      return "File *.Sx Not Found,Abort Procedure\n" + file;
    case MergeFailure::kOutputNameEmpty:
      return "File New *.Sx Not Found,Abort Procedure";
    case MergeFailure::kBinFolderMissing:
      return "Directory Bin Not Found,Abort Procedure" + (file.empty() ? std::string() : "\n" + file);
    case MergeFailure::kBankFileMissing:
      return "File " + bank_file + " Not Found,Abort Procedure\n" + file;
    case MergeFailure::kBankFileSize:
      return "File " + bank_file + " Not Valid,Abort Procedure\n" + file + ": " + result.detail;
    case MergeFailure::kMalformedLine:
      return "File New Sx Not Create,Abort Procedure\n" + file + ": line " + std::to_string(result.line) + ": " +
             result.detail;
    case MergeFailure::kNoEndRecord:
      return "File New Sx Not Create,Abort Procedure\n" + file + ": no S9 end record";
    case MergeFailure::kReadFailed:
    case MergeFailure::kWriteFailed:
      return "File New Sx Not Create,Abort Procedure\n" + file + ": " + result.detail;
    case MergeFailure::kBanksNotInMaster: {
      std::string text;
      for (int number : result.banks_not_found) {
        const FirmwareBank& bank = kFirmwareBanks[static_cast<std::size_t>(number - 1)];
        char range[64];
        std::snprintf(range, sizeof range, " (0x%06X-0x%06X)", static_cast<unsigned>(bank.first),
                      static_cast<unsigned>(bank.last));
        text += "Bank " + std::to_string(number) + range + " Not Found in " + file + ",Abort Procedure\n";
      }
      return text + "The firmware file was not written.";
    }
  }
  return {};
}

}  // namespace brenvale
