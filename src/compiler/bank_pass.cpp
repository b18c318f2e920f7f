// The bank pass: fills banks 1 and 2 of the firmware form from the table files. Every value it
// needs is converted strictly, because a converter without Ethernet port would otherwise run
// with a number nobody typed; the first value that cannot be converted stops the compile.
//
// The bank buffers live for the whole run. A compile writes only its pre-sets and its rows; every
// other byte keeps what an earlier compile left there.
//
// Bank 1                                           Bank 2
//   offset  size    pre-set        content           offset  size    content
//   0       6 x n   0xFF 0..4095   receive rows      0       4 x n   transmit words
//   1000    9 x n   (0xFF)         SDO read rows     1000    10 x n  SDO write rows
//   4096    256     0x00           reserved
//   15500   5 x n   -              RPDO rows
//   15600   5 x n   -              TPDO rows
//   15700   4 x n   0xFF ..15899   node-guarding rows
//   15850   4 x n   (0xFF)         node-guarding frame words
//   16000   36      -              communication settings (only with ParGen.xml)
//   16100   32      -              delete bitmap (only with ParGen.xml)
//   16200   4 x n   0xFF ..16299   SDO client frame words

#include <string>

#include "compiler/compile_passes.h"
#include "compiler/layout.h"
#include "text/int_text.h"

namespace brenvale {

bool y_flag(const RowAttributes& row, const char* name) {
  const char* text = row.value(name);
  return (text[0] == 'Y' || text[0] == 'y') && text[1] == '\0';
}

namespace {

namespace L = layout;

// Carries the first conversion failure out of the nested row loops to the pass boundary.
struct StrictFailure {
  Error error;
};

std::string quoted(const char* text) { return std::string("\"") + text + "\""; }

// Reads the attributes of one row of one file, strictly or with a fallback.
class RowReader {
 public:
  RowReader(const std::filesystem::path& file, pugi::xml_node row, std::size_t index)
      : file_(file), row_(row), index_(index) {}

  std::int32_t strict(const char* name) const {
    const char* text = row_.find(name);
    if (!text) throw StrictFailure{missing_attribute(file_, static_cast<int>(index_ + 1), name)};
    const std::optional<std::int32_t> value = parse_int(text);
    if (!value) {
      throw StrictFailure{Error{file_.string() + ": row " + std::to_string(index_ + 1) + ": " + name + " " +
                                quoted(text) + " is not a number"}};
    }
    return *value;
  }
  std::int32_t lenient(const char* name, std::int32_t fallback) const {
    return parse_int_or(row_.value(name), fallback);
  }
  bool y_flag(const char* name) const { return brenvale::y_flag(row_, name); }

 private:
  const std::filesystem::path& file_;
  RowAttributes row_;
  std::size_t index_;
};

// Reads the settings of ParGen.xml: each one the text of the first child of the root with its name.
class SettingsReader {
 public:
  SettingsReader(std::filesystem::path file, pugi::xml_node root) : file_(std::move(file)), root_(root) {}

  std::int32_t strict(const char* name) const {
    const pugi::xml_node element = root_.child(name);
    if (!element) throw StrictFailure{Error{file_.string() + ": the setting " + std::string(name) + " is missing"}};
    const char* text = element.text().get();
    const std::optional<std::int32_t> value = parse_int(text);
    if (!value) {
      throw StrictFailure{Error{file_.string() + ": the setting " + std::string(name) + " " + quoted(text) +
                                " is not a number"}};
    }
    return *value;
  }
  std::int32_t lenient(const char* name, std::int32_t fallback) const {
    return parse_int_or(root_.child(name).text().get(), fallback);
  }

 private:
  std::filesystem::path file_;
  pugi::xml_node root_;
};

}  // namespace

class BankPass::Impl {
 public:
  Impl(ByteSpan bank1, ByteSpan bank2) : bank1_(bank1), bank2_(bank2) {
    if (bank1.size() != L::kBankSize || bank2.size() != L::kBankSize) std::abort();
  }

  void begin() {
    fill_bytes(bank1_, 0, L::kReservedOffset, 0xFF);
    fill_bytes(bank1_, L::kReservedOffset, L::kReservedSize, 0x00);
    deletes_ = {};
    fill_ = {};
  }

  Status step(TableFile file, const XmlDocument* document, const std::filesystem::path& path) {
    try {
      document_ = document;
      path_ = &path;
      switch (file) {
        case TableFile::kReceiveFrames: receive_rows(); break;
        case TableFile::kTransmitFrames: transmit_words(); break;
        case TableFile::kSdoRead: sdo_rows(CompiledTable::kSdoRead, bank1_, L::kSdoReadRows, false); break;
        case TableFile::kSdoWrite: sdo_rows(CompiledTable::kSdoWrite, bank2_, L::kSdoWriteRows, true); break;
        case TableFile::kReceivePdos: pdo_rows(CompiledTable::kReceivePdos, L::kRpdoRows); break;
        case TableFile::kTransmitPdos: pdo_rows(CompiledTable::kTransmitPdos, L::kTpdoRows); break;
        case TableFile::kNodeGuard:
          fill_bytes(bank1_, L::kNodeGuardRows.offset, 200, 0xFF);
          node_guard_rows();
          break;
        case TableFile::kNodeGuardFrames: frame_words(CompiledTable::kNodeGuardFrames, L::kNodeGuardFrameWords); break;
        case TableFile::kSdoClient:
          fill_bytes(bank1_, L::kSdoClientFrameWords.offset, 100, 0xFF);
          frame_words(CompiledTable::kSdoClientFrames, L::kSdoClientFrameWords);
          break;
        case TableFile::kSettings: communication_settings(); break;
        case TableFile::kCount: break;
      }
    } catch (const StrictFailure& failure) {
      return failure.error;
    }
    return ok_status();
  }

  // Compile date and time, always (offsets 16020 and 16022).
  void stamp(const LocalDateTime& when) {
    put_u16le(bank1_, 16020, pack_compile_date(when));
    put_u16le(bank1_, 16022, pack_compile_time(when));
  }

  const FormFill& fill() const { return fill_; }

 private:
  std::vector<pugi::xml_node> rows() const {
    return document_ == nullptr ? std::vector<pugi::xml_node>{} : element_rows(document_->root());
  }

  std::size_t take(CompiledTable table, std::size_t rows, std::size_t capacity) {
    TableFill& fill = fill_of(fill_, table);
    fill = {rows, capacity};
    return fill.held();
  }

  // Receive row (6 bytes at 6 x i):
  //   0  u32  PGN as typed (not an identifier word)
  //   4  u8   source address (ID_DEV)
  //   5  u8   row index i
  void receive_rows() {
    const std::filesystem::path& file = *path_;
    const std::vector<pugi::xml_node> rows = this->rows();
    const std::size_t held = take(CompiledTable::kReceiveFrames, rows.size(), L::kReceiveRows.capacity());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const RowReader row(file, rows[i], i);
      const std::int32_t pgn = row.strict("PGN");
      const std::int32_t address = row.strict("ID_DEV");
      if (i >= held) continue;
      const std::size_t at = L::kReceiveRows.row(i);
      put_u32le(bank1_, at, static_cast<std::uint32_t>(pgn));
      put_u8(bank1_, at + 4, static_cast<std::uint32_t>(address));
      put_u8(bank1_, at + 5, static_cast<std::uint32_t>(i));
      if (row.y_flag("Delete")) deletes_[i / 8] = static_cast<std::uint8_t>(deletes_[i / 8] | (1u << (i % 8)));
    }
  }

  // Transmit word (bank 2, u32 at 4 x i): identifier word with priority.
  void transmit_words() {
    const std::filesystem::path& file = *path_;
    const std::vector<pugi::xml_node> rows = this->rows();
    const std::size_t held = take(CompiledTable::kTransmitFrames, rows.size(), L::kTransmitWords.capacity());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const RowReader row(file, rows[i], i);
      const std::int32_t priority = row.strict("Priority");
      const std::int32_t data_page = row.strict("DP");
      const std::int32_t pgn = row.strict("PGN");
      const std::int32_t address = row.strict("ID_DEV");
      if (i < held) put_u32le(bank2_, L::kTransmitWords.row(i), j1939_identifier(priority, data_page, pgn, address));
    }
  }

  // SDO read row (bank 1, 9 bytes at 1000 + 9 x i) and SDO write row (bank 2, 10 bytes at
  // 1000 + 10 x i):
  //   0  u16  object index            5  u8  byte choice 1 (B1)
  //   2  u8   sub-index               6  u8  byte choice 2 (B2)
  //   3  u8   object size (4, 2, 1)   7  u8  byte choice 3 (B3)
  //   4  u8   frame number (NrPdo)    8  u8  byte choice 4 (B4)
  //                                   9  u8  send flag (Send_SDO), write rows only
  void sdo_rows(CompiledTable table, ByteSpan bank, const L::BankRegion& region, bool send_flag) {
    const std::filesystem::path& file = *path_;
    const std::vector<pugi::xml_node> rows = this->rows();
    const std::size_t held = take(table, rows.size(), region.capacity());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const RowReader row(file, rows[i], i);
      const std::int32_t index = row.strict("Index");
      const std::int32_t sub_index = row.strict("SubIndex");
      const std::int32_t size_code = row.strict("Dimension");
      const std::int32_t frame = row.strict("NrPdo");
      const std::int32_t b1 = row.strict("B1");
      const std::int32_t b2 = row.strict("B2");
      const std::int32_t b3 = row.strict("B3");
      const std::int32_t b4 = row.strict("B4");
      const std::int32_t send = send_flag ? row.strict("Send_SDO") : 0;
      if (i >= held) continue;
      const std::size_t at = region.row(i);
      put_u16le(bank, at, static_cast<std::uint32_t>(index));
      put_u8(bank, at + 2, static_cast<std::uint32_t>(sub_index));
      put_u8(bank, at + 3, object_size(size_code));
      put_u8(bank, at + 4, static_cast<std::uint32_t>(frame));
      put_u8(bank, at + 5, static_cast<std::uint32_t>(b1));
      put_u8(bank, at + 6, static_cast<std::uint32_t>(b2));
      put_u8(bank, at + 7, static_cast<std::uint32_t>(b3));
      put_u8(bank, at + 8, static_cast<std::uint32_t>(b4));
      if (send_flag) put_u8(bank, at + 9, static_cast<std::uint32_t>(send));
    }
  }

  // RPDO row (5 bytes at 15500 + 5 x i) and TPDO row (5 bytes at 15600 + 5 x i):
  //   0  u16  COB-ID
  //   2  u8   dimension, unconverted
  //   3  u8   frame number (Frame_J1939, 1-based)
  //   4  u8   start byte (Offset; 1 when it cannot be read)
  void pdo_rows(CompiledTable table, const L::BankRegion& region) {
    const std::filesystem::path& file = *path_;
    const std::vector<pugi::xml_node> rows = this->rows();
    const std::size_t held = take(table, rows.size(), region.capacity());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const RowReader row(file, rows[i], i);
      const std::int32_t cob_id = row.strict("COB-ID");
      const std::int32_t dimension = row.strict("Dimension");
      const std::int32_t frame = row.strict("Frame_J1939");
      const std::int32_t start = row.lenient("Offset", 1);
      if (i >= held) continue;
      const std::size_t at = region.row(i);
      put_u16le(bank1_, at, static_cast<std::uint32_t>(cob_id));
      put_u8(bank1_, at + 2, static_cast<std::uint32_t>(dimension));
      put_u8(bank1_, at + 3, static_cast<std::uint32_t>(frame));
      put_u8(bank1_, at + 4, static_cast<std::uint32_t>(start));
    }
  }

  // Node-guarding row (4 bytes at 15700 + 4 x i); bytes after the last row stay 0xFF:
  //   0  u8   node ID
  //   1  u16  guard time
  //   3  u8   life time factor
  void node_guard_rows() {
    const std::filesystem::path& file = *path_;
    const std::vector<pugi::xml_node> rows = this->rows();
    const std::size_t held = take(CompiledTable::kNodeGuard, rows.size(), L::kNodeGuardRows.capacity());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const RowReader row(file, rows[i], i);
      const std::int32_t node_id = row.strict("NodeID");
      const std::int32_t guard_time = row.strict("GuardTime");
      const std::int32_t life_time_factor = row.strict("LifeTimeFactor");
      if (i >= held) continue;
      const std::size_t at = L::kNodeGuardRows.row(i);
      put_u8(bank1_, at, static_cast<std::uint32_t>(node_id));
      put_u16le(bank1_, at + 1, static_cast<std::uint32_t>(guard_time));
      put_u8(bank1_, at + 3, static_cast<std::uint32_t>(life_time_factor));
    }
  }

  // Node-guarding and SDO client frame words (u32 at the region's offset + 4 x i): the
  // identifier word of each row with its own priority; words after the last row stay 0xFFFFFFFF.
  void frame_words(CompiledTable table, const L::BankRegion& region) {
    const std::filesystem::path& file = *path_;
    const std::vector<pugi::xml_node> rows = this->rows();
    const std::size_t held = take(table, rows.size(), region.capacity());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const RowReader row(file, rows[i], i);
      const std::int32_t priority = row.strict("Priority");
      const std::int32_t data_page = row.strict("DataPage");
      const std::int32_t pgn = row.strict("PGN");
      const std::int32_t address = row.strict("SA");
      if (i < held) put_u32le(bank1_, region.row(i), j1939_identifier(priority, data_page, pgn, address));
    }
  }

  // Communication settings (bank 1, only when ParGen.xml exists):
  //   16000 u8  BaudRateCAN + 1        strict     16020 u16 compile date (always)
  //   16001 u8  CANType                strict     16022 u16 compile time (always)
  //   16002 u8  IDDev_CANopen          strict     16024 u8  RPDO rows
  //   16003 u8  Baud_CANopen           strict     16025 u8  TPDO rows
  //   16004 u8  Set_Ope_CANopen        strict     16026 u8  Sent_TPDO            else 1
  //   16005 u8  Net_Start_CANopen      strict     16027 u16 Sent_TPDO_Time       else 1000
  //   16006 u8  Delay_CANopen          strict     16029 u8  NodeGuard            else 0
  //   16007 u8  TimeOut_Data           else 0     16030 u8  Send_NG_J1939        else 0
  //   16008 u16 1                                 16031 u16 BG_Send_Every        else 1000
  //   16010 u8  Peer_to_Peer           else 0     16033 u8  EN_SDO_Client        else 0
  //   16011 --  never written                     16034 u16 TO_SDO_Client        else 10000
  //   16012 u16 receive rows                      16100 32 bytes: delete bitmap, bit i of
  //   16014 u16 transmit words                          receive row i (byte i div 8, bit i mod 8)
  //   16016 u16 SDO read rows
  //   16018 u16 SDO write rows
  void communication_settings() {
    if (document_ == nullptr) return;
    const SettingsReader s(*path_, document_->root());
    const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
    put_u8(bank1_, 16000, u(s.strict("BaudRateCAN")) + 1u);
    put_u8(bank1_, 16001, u(s.strict("CANType")));
    put_u8(bank1_, 16002, u(s.strict("IDDev_CANopen")));
    put_u8(bank1_, 16003, u(s.strict("Baud_CANopen")));
    put_u8(bank1_, 16004, u(s.strict("Set_Ope_CANopen")));
    put_u8(bank1_, 16005, u(s.strict("Net_Start_CANopen")));
    put_u8(bank1_, 16006, u(s.strict("Delay_CANopen")));
    put_u8(bank1_, 16007, u(s.lenient("TimeOut_Data", 0)));
    put_u16le(bank1_, 16008, 1);
    put_u8(bank1_, 16010, u(s.lenient("Peer_to_Peer", 0)));
    put_u8(bank1_, 16026, u(s.lenient("Sent_TPDO", 1)));
    put_u16le(bank1_, 16027, u(s.lenient("Sent_TPDO_Time", 1000)));
    put_u8(bank1_, 16029, u(s.lenient("NodeGuard", 0)));
    put_u8(bank1_, 16030, u(s.lenient("Send_NG_J1939", 0)));
    put_u16le(bank1_, 16031, u(s.lenient("BG_Send_Every", 1000)));
    put_u8(bank1_, 16033, u(s.lenient("EN_SDO_Client", 0)));
    put_u16le(bank1_, 16034, u(s.lenient("TO_SDO_Client", 10000)));

    for (std::size_t i = 0; i < L::kDeleteBitmapSize; ++i) put_u8(bank1_, L::kDeleteBitmapOffset + i, deletes_[i]);
    const auto held = [this](CompiledTable t) { return static_cast<std::uint32_t>(fill_of(fill_, t).held()); };
    put_u16le(bank1_, 16012, held(CompiledTable::kReceiveFrames));
    put_u16le(bank1_, 16014, held(CompiledTable::kTransmitFrames));
    put_u16le(bank1_, 16016, held(CompiledTable::kSdoRead));
    put_u16le(bank1_, 16018, held(CompiledTable::kSdoWrite));
    put_u8(bank1_, 16024, held(CompiledTable::kReceivePdos));
    put_u8(bank1_, 16025, held(CompiledTable::kTransmitPdos));
  }

  ByteSpan bank1_;
  ByteSpan bank2_;
  const XmlDocument* document_ = nullptr;
  const std::filesystem::path* path_ = nullptr;
  std::array<std::uint8_t, L::kDeleteBitmapSize> deletes_{};
  FormFill fill_{};
};

BankPass::BankPass(ByteSpan bank1, ByteSpan bank2) : impl_(std::make_unique<Impl>(bank1, bank2)) {}
BankPass::~BankPass() = default;
void BankPass::begin() { impl_->begin(); }
Status BankPass::step(TableFile file, const XmlDocument* document, const std::filesystem::path& path) {
  return impl_->step(file, document, path);
}
void BankPass::stamp(const LocalDateTime& when) { impl_->stamp(when); }
const FormFill& BankPass::fill() const { return impl_->fill(); }

Result<FormFill> run_bank_pass(ByteSpan bank1, ByteSpan bank2, ProjectDocuments& documents,
                               const LocalDateTime& when) {
  BankPass pass(bank1, bank2);
  pass.begin();
  for (const TableFile file : kBankPassOrder) {
    Result<const XmlDocument*> document = documents.get(file);
    if (!document) return document.error();
    if (Status done = pass.step(file, *document, documents.path(file)); !done) return done.error();
  }
  pass.stamp(when);
  return pass.fill();
}

}  // namespace brenvale
