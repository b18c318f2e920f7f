#include "update/firmware_merge.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace brenvale {

namespace {

constexpr std::size_t kChunk = 1 << 20;
// S-records are at most 514 characters; a longer line is not part of a firmware file, and
// refusing it keeps the memory bounded.
constexpr std::size_t kMaxLine = 1 << 16;
// Pieces at least this long are written without passing through the output buffer.
constexpr std::size_t kDirectWrite = 1 << 16;
constexpr char kHex[] = "0123456789ABCDEF";

static_assert(kBankRecordCount == 512);

// Digit values by character, -1 for a character that is no hexadecimal digit.
constexpr std::array<std::int8_t, 256> kHexValue = [] {
  std::array<std::int8_t, 256> table{};
  for (auto& v : table) v = -1;
  for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'a' + 10);
  return table;
}();

int hex_value(char c) { return kHexValue[static_cast<unsigned char>(c)]; }

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

// The hidden name of an output while it is written: "." + name + ".tmp-" + six characters.
std::string temporary_prefix(const std::filesystem::path& output) {
  std::string prefix = ".";
  prefix += output.filename().string();
  prefix += ".tmp-";
  return prefix;
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
  // `expected` is about how many bytes will be written; a small merge does not set aside the
  // buffer of a large one.
  PendingOutput(const std::filesystem::path& path, std::uint64_t expected) : path_(path) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    temp_ = (folder / (temporary_prefix(path) + "XXXXXX")).string();
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0) {
      error_ = system_reason();
    } else {
      created_ = true;
    }
    buffer_.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(expected, kChunk)) + kMaxLine);
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
    if (bytes.size() >= kDirectWrite) {
      // A long run goes straight from the reader's chunk to the file, without another copy.
      flush();
      write_all(bytes);
      return;
    }
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
    // No fsync: the file is handed to the flashing program at once and made anew at every
    // merge, so only a complete file under the final name matters, which the rename ensures.
    if (::fchmod(fd_, 0644) != 0) return fail();
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
    write_all(buffer_);
    buffer_.clear();
  }
  void write_all(std::string_view bytes) {
    std::size_t done = 0;
    while (ok() && done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        fail();
        break;
      }
      done += static_cast<std::size_t>(n);
    }
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
  const std::string prefix = temporary_prefix(output);
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

  // The output must never be the master itself (a link to it, or the same name).
  struct stat master_id {};
  struct stat output_id {};
  if (::stat(job.master.c_str(), &master_id) == 0 && ::stat(job.output.c_str(), &output_id) == 0 &&
      master_id.st_dev == output_id.st_dev && master_id.st_ino == output_id.st_ino) {
    return failed(result, MergeFailure::kWriteFailed, 0, job.output, "the output would replace the master file");
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

  std::uint64_t total = static_cast<std::uint64_t>(master_stat.st_size);
  for (const BankStage& stage : stages) total += stage.records.size();

  PendingOutput output(job.output, total);
  if (!output.ok()) return failed(result, MergeFailure::kWriteFailed, 0, job.output, output.error());
  std::uint64_t done = 0;
  if (progress) progress(0, total);

  bool end_seen = false;
  std::size_t line_number = 0;
  std::string problem;
  std::string carry;  // the start of a line cut by the end of a chunk
  // Read in chunks of up to 1 MiB, no larger than the master needs; left uninitialised, as
  // every byte used is read first.
  const std::size_t chunk_size =
      static_cast<std::size_t>(std::clamp<std::uint64_t>(static_cast<std::uint64_t>(master_stat.st_size) + 1, 4096, kChunk));
  const std::unique_ptr<char[]> chunk(new char[chunk_size]);

  // What becomes of one line (given without its line end): copied, dropped (it lies in a bank's
  // range), or unreadable, with the reason in `problem`. Bank records to put in its place are
  // left in `insert`.
  enum class Verdict { kCopy, kDrop, kFail };
  const std::string* insert = nullptr;
  const auto classify = [&](std::string_view line) -> Verdict {
    ++line_number;
    if (line.size() < 2 || line[0] != 'S') return Verdict::kCopy;
    if (line[1] == '1' || line[1] == '2') {
      const std::size_t digits = line[1] == '1' ? 4 : 6;
      if (line.size() < 4 + digits) {
        problem = "the record is too short to hold its address";
        return Verdict::kFail;
      }
      std::uint32_t address = 0;
      for (std::size_t i = 4; i < 4 + digits; ++i) {
        const int v = hex_value(line[i]);
        if (v < 0) {
          problem = "the address \"" + std::string(line.substr(4, digits)) + "\" is not hexadecimal";
          return Verdict::kFail;
        }
        address = address << 4 | static_cast<std::uint32_t>(v);
      }
      for (BankStage& stage : stages) {
        if (address >= stage.bank->first && address <= stage.bank->last) {
          if (!stage.inserted) {
            insert = &stage.records;
            done += stage.records.size();
            stage.inserted = true;
          }
          return Verdict::kDrop;
        }
      }
    } else if (line[1] == '9') {
      // The end record settles each bank: its records went in, or its range is not there.
      end_seen = true;
      for (BankStage& stage : stages) {
        result.banks[static_cast<std::size_t>(stage.bank->number - 1)] =
            stage.inserted ? BankMerge::kInserted : BankMerge::kNotFound;
      }
    }
    return Verdict::kCopy;
  };
  const auto malformed = [&] {
    FirmwareMergeResult r = failed(result, MergeFailure::kMalformedLine, 0, job.master, problem);
    r.line = line_number;
    return r;
  };
  // A line handled on its own (not copied as part of a run): written with CR LF.
  const auto put_line = [&](std::string_view line) -> bool {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    insert = nullptr;
    const Verdict verdict = classify(line);
    if (verdict == Verdict::kFail) return false;
    if (insert) output.append(*insert);
    if (verdict == Verdict::kCopy) output.append_line(line);
    return true;
  };

  for (;;) {
    const ssize_t n = ::read(master.get(), chunk.get(), chunk_size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return failed(result, MergeFailure::kReadFailed, 0, job.master, system_reason());
    }
    if (n == 0) break;
    const char* p = chunk.get();
    const char* const end = p + n;
    done += static_cast<std::uint64_t>(n);
    if (!carry.empty()) {
      const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      carry.append(p, eol ? eol : end);
      if (carry.size() > kMaxLine) {
        problem = "the line is longer than " + std::to_string(kMaxLine) + " characters";
        ++line_number;
        return malformed();
      }
      if (!eol) continue;
      if (!put_line(carry)) return malformed();
      carry.clear();
      p = eol + 1;
    }
    // Lines that stay as they are, already ending with CR LF, go out as one run straight from
    // the chunk; only the lines around a change are handled one by one.
    const char* run = p;
    while (p < end) {
      const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      if (!eol) break;
      const bool crlf = eol > p && eol[-1] == '\r';
      std::string_view line(p, static_cast<std::size_t>(eol - p - (crlf ? 1 : 0)));
      insert = nullptr;
      const Verdict verdict = classify(line);
      if (verdict == Verdict::kFail) return malformed();
      if (verdict != Verdict::kCopy || !crlf) {
        output.append(std::string_view(run, static_cast<std::size_t>(p - run)));
        if (insert) output.append(*insert);
        if (verdict == Verdict::kCopy) output.append_line(line);
        run = eol + 1;
      }
      p = eol + 1;
    }
    output.append(std::string_view(run, static_cast<std::size_t>(p - run)));
    carry.assign(p, end);
    if (carry.size() > kMaxLine) {
      problem = "the line is longer than " + std::to_string(kMaxLine) + " characters";
      ++line_number;
      return malformed();
    }
    if (!output.ok()) return failed(result, MergeFailure::kWriteFailed, 0, job.output, output.error());
    if (progress) progress(done, total);
  }
  if (!carry.empty() && !put_line(carry)) return malformed();
  if (!output.ok()) return failed(result, MergeFailure::kWriteFailed, 0, job.output, output.error());

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
