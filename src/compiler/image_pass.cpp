// The image pass: rebuilds the configuration image that a converter with Ethernet port receives.
// It never fails on a value: every number that cannot be read takes its default, and a row that
// names no existing frame is left out, so the device only ever sees references it can follow.

#include <string_view>

#include "compiler/compile_passes.h"
#include "compiler/layout.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

namespace L = layout;

// Bit rate in bit/s of a bit-rate index; indices outside the list give 250 kbit/s.
std::uint32_t bit_rate(std::int32_t index) {
  static constexpr std::uint32_t kRates[] = {10000, 20000, 50000, 100000, 125000, 250000, 500000, 800000, 1000000};
  if (index < 0 || index >= static_cast<std::int32_t>(std::size(kRates))) return 250000;
  return kRates[index];
}

std::int32_t lenient(const RowAttributes& row, const char* name, std::int32_t fallback) {
  return parse_int_or(row.value(name), fallback);
}
std::uint32_t lenient_u(const RowAttributes& row, const char* name, std::int32_t fallback) {
  return static_cast<std::uint32_t>(lenient(row, name, fallback));
}

// Settings block (2048 bytes at image offset 0x0F400, device address 0x68000); unlisted bytes 0:
//   0x000 u32 J1939 bit rate             0x0C4 u32 RPDO records
//   0x004 u32 CANopen bit rate           0x0CC u32 TPDO records
//   0x00C u32 9600                       0x108 u32 node-guarding state send period
//   0x028 4xu8 IP address                0x118..0x130 u32 x 7 table addresses (SDO read, SDO
//   0x02C 4xu8 subnet mask                     write, TPDO, RPDO, SDO client frames, node
//   0x030 4xu8 gateway                         guarding, node-guarding frames)
//   0x034 u16 10000, 0x036 u16 10001,    0x13C u32 SDO read records   0x148 u32 RPDO records
//   0x038 u16 10001                      0x140 u32 SDO write records  0x14C u32 SDO client frames
//   0x090 u32 receive frame records      0x144 u32 TPDO records       0x154 u32 node-guarding records
//   0x094 u32 transmit frame records     0x184 u32 J1939 data time-out in ms
//   0x098 u32 J1939 options              0x18C u32 J1939 address of the converter
//   0x09C u32 CANopen node ID            0x190 u32 PGN 0xFECA filter time
//   0x0A0 u32 CANopen options            0x194 u32 x 5 0x101..0x505, 0x1A8 the same again
//   0x0A4 u32 start delay in ms          0x1BC u32 0x58C00, 0x1C0 u32 0x59C00 (frame tables)
//   0x0A8 u32 SDO client time-out        0x7FC u32 checksum: byte sum of 0x000..0x7FB
namespace settings {
inline constexpr std::size_t kJ1939BitRate = 0x000;
inline constexpr std::size_t kCanopenBitRate = 0x004;
inline constexpr std::size_t kIp = 0x028;
inline constexpr std::size_t kSubnetMask = 0x02C;
inline constexpr std::size_t kGateway = 0x030;
inline constexpr std::size_t kReceiveFrameCount = 0x090;
inline constexpr std::size_t kTransmitFrameCount = 0x094;
inline constexpr std::size_t kJ1939Options = 0x098;
inline constexpr std::size_t kNodeId = 0x09C;
inline constexpr std::size_t kCanopenOptions = 0x0A0;
inline constexpr std::size_t kStartDelay = 0x0A4;
inline constexpr std::size_t kSdoClientTimeout = 0x0A8;
inline constexpr std::size_t kRpdoCount = 0x0C4;
inline constexpr std::size_t kTpdoCount = 0x0CC;
inline constexpr std::size_t kNodeGuardSendPeriod = 0x108;
inline constexpr std::size_t kSdoReadCount = 0x13C;
inline constexpr std::size_t kSdoWriteCount = 0x140;
inline constexpr std::size_t kTpdoCountAgain = 0x144;
inline constexpr std::size_t kRpdoCountAgain = 0x148;
inline constexpr std::size_t kSdoClientFrameCount = 0x14C;
inline constexpr std::size_t kNodeGuardCount = 0x154;
inline constexpr std::size_t kDataTimeout = 0x184;
inline constexpr std::size_t kJ1939Address = 0x18C;
inline constexpr std::size_t kFecaFilterTime = 0x190;
inline constexpr std::size_t kChecksum = 0x7FC;

// CANopen option bits.
inline constexpr std::uint32_t kSetOperational = 1u << 0;
inline constexpr std::uint32_t kNetworkStart = 1u << 1;
inline constexpr std::uint32_t kSdoClient = 1u << 2;
inline constexpr std::uint32_t kNodeGuarding = 1u << 3;
inline constexpr std::uint32_t kSendNodeGuardState = 1u << 4;
}  // namespace settings

}  // namespace

class ImagePass::Impl {
 public:
  explicit Impl(ByteSpan image)
      : image_(image), settings_(image.subspan(L::kSettings.offset, L::kSettings.record_size)) {
    if (image.size() != L::kImageSize) std::abort();
  }

  void begin() {
    // Every table and the settings block start from their defaults at every compile.
    fill_bytes(image_, 0, image_.size(), 0);
    reset_settings();
    fill_ = {};
    receive_count_ = 0;
    transmit_count_ = 0;
    receive_offsets_.clear();
  }

  void step(TableFile file, const XmlDocument* document) {
    document_ = document;
    switch (file) {
      case TableFile::kSettings: communication_settings(); break;
      case TableFile::kReceiveFrames: receive_frames(); break;
      case TableFile::kTransmitFrames: transmit_frames(); break;
      case TableFile::kSdoRead: sdo_records(CompiledTable::kSdoRead, L::kSdoRead, settings::kSdoReadCount, false); break;
      case TableFile::kSdoWrite: sdo_records(CompiledTable::kSdoWrite, L::kSdoWrite, settings::kSdoWriteCount, true); break;
      case TableFile::kTransmitPdos: tpdo_records(); break;
      case TableFile::kReceivePdos: rpdo_records(); break;
      case TableFile::kNodeGuard: node_guard_records(); break;
      case TableFile::kNodeGuardFrames: node_guard_frames(); break;
      case TableFile::kSdoClient: sdo_client_frames(); break;
      case TableFile::kCount: break;
    }
    document_ = nullptr;
  }

  void finish() {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < settings::kChecksum; ++i) sum += settings_[i];
    put_u32le(settings_, settings::kChecksum, sum);
  }

  const FormFill& fill() const { return fill_; }

 private:
  std::size_t take(CompiledTable table, std::size_t rows, std::size_t capacity) {
    TableFill& fill = fill_of(fill_, table);
    fill = {rows, capacity};
    return fill.held();
  }

  void put_octets(std::size_t offset, std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    put_u8(settings_, offset, a);
    put_u8(settings_, offset + 1, b);
    put_u8(settings_, offset + 2, c);
    put_u8(settings_, offset + 3, d);
  }

  void reset_settings() {
    put_u32le(settings_, settings::kJ1939BitRate, 250000);
    put_u32le(settings_, settings::kCanopenBitRate, 250000);
    put_u32le(settings_, 0x00C, 9600);
    put_octets(settings::kIp, 192, 168, 2, 205);
    put_octets(settings::kSubnetMask, 255, 255, 255, 0);
    put_octets(settings::kGateway, 255, 255, 255, 255);
    put_u16le(settings_, 0x034, 10000);
    put_u16le(settings_, 0x036, 10001);
    put_u16le(settings_, 0x038, 10001);
    for (std::uint32_t k = 0; k < 5; ++k) {
      const std::uint32_t word = (k + 1) * 0x101u;
      put_u32le(settings_, 0x194 + 4 * k, word);
      put_u32le(settings_, 0x1A8 + 4 * k, word);
    }
    put_u32le(settings_, 0x1BC, L::kReceiveFrames.device_address());
    put_u32le(settings_, 0x1C0, L::kTransmitFrames.device_address());
    put_u32le(settings_, 0x118, L::kSdoRead.device_address());
    put_u32le(settings_, 0x11C, L::kSdoWrite.device_address());
    put_u32le(settings_, 0x120, L::kTpdos.device_address());
    put_u32le(settings_, 0x124, L::kRpdos.device_address());
    put_u32le(settings_, 0x128, L::kSdoClientFrames.device_address());
    put_u32le(settings_, 0x12C, L::kNodeGuard.device_address());
    put_u32le(settings_, 0x130, L::kNodeGuardFrames.device_address());
  }

  // ParGen.xml, each setting on its own with the image's own defaults.
  void communication_settings() {
    if (document_ == nullptr) return;
    const pugi::xml_node root = document_->root();
    const auto value = [&](const char* name, std::int32_t fallback) {
      return static_cast<std::uint32_t>(parse_int_or(root.child(name).text().get(), fallback));
    };
    const auto one_flag = [&](const char* name) {
      const pugi::xml_node element = root.child(name);
      return element && std::string_view(element.text().get()) == "1";
    };
    const auto octet = [&](const char* name, std::int32_t fallback) {
      return static_cast<std::uint8_t>(value(name, fallback) & 0xFFu);
    };

    put_u32le(settings_, settings::kJ1939BitRate, bit_rate(parse_int_or(root.child("BaudRateCAN").text().get(), 5)));
    put_u32le(settings_, settings::kDataTimeout, value("TimeOut_Data", 0) * 1000u);
    put_u32le(settings_, settings::kJ1939Address, value("IDDev_J1939", 0));
    put_u32le(settings_, settings::kFecaFilterTime, value("Filter_FECA_Time", 50));
    std::uint32_t j1939_options = 0;
    if (one_flag("Peer_to_Peer")) j1939_options |= 1u << 0;
    if (one_flag("Enable_Filter_FECA")) j1939_options |= 1u << 1;
    put_u32le(settings_, settings::kJ1939Options, j1939_options);

    put_u32le(settings_, settings::kNodeId, value("IDDev_CANopen", 5));
    put_u32le(settings_, settings::kCanopenBitRate, bit_rate(parse_int_or(root.child("Baud_CANopen").text().get(), 8)));
    std::uint32_t canopen_options = 0;
    if (one_flag("Set_Ope_CANopen")) canopen_options |= settings::kSetOperational;
    if (one_flag("Net_Start_CANopen")) canopen_options |= settings::kNetworkStart;
    if (one_flag("EN_SDO_Client")) canopen_options |= settings::kSdoClient;
    if (one_flag("NodeGuard")) canopen_options |= settings::kNodeGuarding;
    if (one_flag("Send_NG_J1939")) canopen_options |= settings::kSendNodeGuardState;
    put_u32le(settings_, settings::kCanopenOptions, canopen_options);
    put_u32le(settings_, settings::kStartDelay, value("Delay_CANopen", 10) * 1000u);
    put_u32le(settings_, settings::kSdoClientTimeout, value("TO_SDO_Client", 10000));
    put_u32le(settings_, settings::kNodeGuardSendPeriod, value("BG_Send_Every", 1000));

    put_octets(settings::kIp, octet("Ethernet_IP1", 192), octet("Ethernet_IP2", 168), octet("Ethernet_IP3", 0),
               octet("Ethernet_IP4", 5));
    put_octets(settings::kSubnetMask, octet("Ethernet_SM1", 255), octet("Ethernet_SM2", 255),
               octet("Ethernet_SM3", 255), octet("Ethernet_SM4", 0));
    put_octets(settings::kGateway, octet("Ethernet_GAT1", 192), octet("Ethernet_GAT2", 168),
               octet("Ethernet_GAT3", 0), octet("Ethernet_GAT4", 1));
    // Without an enabled gateway the device must not route: the broadcast address says "none".
    if (!one_flag("Ethernet_EN_GAT")) put_octets(settings::kGateway, 255, 255, 255, 255);
  }

  std::vector<pugi::xml_node> rows() const {
    return document_ == nullptr ? std::vector<pugi::xml_node>{} : element_rows(document_->root());
  }

  // Receive frame record (16 bytes):
  //   0  u32 identifier word from DP, PGN, ID_DEV (no priority)
  //   4  u8  flags: bit 0 multi-frame, bit 1 delete, bit 2 on request
  //   5  u8  0
  //   6  u16 start byte (multi-frame), else 0
  //   8  u16 number of data bytes (multi-frame), else 8
  //   10 u16 data offset: sum of the data bytes of the earlier records
  //   12 u32 on-request time
  void receive_frames() {
    const std::vector<pugi::xml_node> rows = this->rows();
    receive_count_ = take(CompiledTable::kReceiveFrames, rows.size(), L::kReceiveFrames.records);
    receive_offsets_.assign(receive_count_, 0);
    std::uint32_t data_offset = 0;
    for (std::size_t r = 0; r < receive_count_; ++r) {
      const RowAttributes row(rows[r]);
      const std::size_t at = L::kReceiveFrames.record(r);
      put_u32le(image_, at, j1939_identifier(0, lenient(row, "DP", 0), lenient(row, "PGN", 0), lenient(row, "ID_DEV", 0)));
      const bool multi_frame = y_flag(row, "MultiFrame");
      std::uint32_t flags = 0;
      if (multi_frame) flags |= 1u << 0;
      if (y_flag(row, "Delete")) flags |= 1u << 1;
      if (y_flag(row, "OnRequest")) flags |= 1u << 2;
      put_u8(image_, at + 4, flags);
      const std::uint32_t start = multi_frame ? lenient_u(row, "StartByte", 0) : 0u;
      const std::uint32_t bytes = multi_frame ? lenient_u(row, "NByte", 0) & 0xFFFFu : 8u;
      put_u16le(image_, at + 6, start);
      put_u16le(image_, at + 8, bytes);
      put_u16le(image_, at + 10, data_offset);
      receive_offsets_[r] = static_cast<std::uint16_t>(data_offset);
      data_offset += bytes;
      put_u32le(image_, at + 12, lenient_u(row, "OnReq_Time", 0));
    }
    put_u32le(settings_, settings::kReceiveFrameCount, static_cast<std::uint32_t>(receive_count_));
  }

  // Transmit frame record (12 bytes):
  //   0  u32 identifier word from Priority, DP, PGN, ID_DEV
  //   4  u8  flags: bit 0 on request, bit 1 on data change, bit 2 on timer
  //   5  u8  0
  //   6  u16 data offset = 8 x record index
  //   8  u32 on-timer time
  void transmit_frames() {
    const std::vector<pugi::xml_node> rows = this->rows();
    transmit_count_ = take(CompiledTable::kTransmitFrames, rows.size(), L::kTransmitFrames.records);
    for (std::size_t r = 0; r < transmit_count_; ++r) {
      const RowAttributes row(rows[r]);
      const std::size_t at = L::kTransmitFrames.record(r);
      put_u32le(image_, at, j1939_identifier(lenient(row, "Priority", 0), lenient(row, "DP", 0),
                                             lenient(row, "PGN", 0), lenient(row, "ID_DEV", 0)));
      std::uint32_t flags = 0;
      if (y_flag(row, "OnRequest")) flags |= 1u << 0;
      if (y_flag(row, "DataChange")) flags |= 1u << 1;
      if (y_flag(row, "OnTimer")) flags |= 1u << 2;
      put_u8(image_, at + 4, flags);
      put_u16le(image_, at + 6, static_cast<std::uint32_t>(8 * r));
      put_u32le(image_, at + 8, lenient_u(row, "OnTimer_Time", 0));
    }
    put_u32le(settings_, settings::kTransmitFrameCount, static_cast<std::uint32_t>(transmit_count_));
  }

  // The 0-based frame record a row refers to, when that frame exists.
  static std::optional<std::size_t> frame_of(pugi::xml_node row, const char* name, std::size_t frame_count) {
    const std::int64_t f = static_cast<std::int64_t>(parse_int_or(row.attribute(name).value(), -1)) - 1;
    if (f < 0 || f >= static_cast<std::int64_t>(frame_count)) return std::nullopt;
    return static_cast<std::size_t>(f);
  }

  // The rows of `file` that name an existing frame, with that frame's record index.
  std::vector<std::pair<pugi::xml_node, std::size_t>> linked_rows(const char* attribute, std::size_t frame_count) const {
    std::vector<std::pair<pugi::xml_node, std::size_t>> linked;
    if (frame_count == 0) return linked;
    for (const pugi::xml_node row : rows()) {
      if (const std::optional<std::size_t> f = frame_of(row, attribute, frame_count)) linked.emplace_back(row, *f);
    }
    return linked;
  }

  // SDO read record (16 bytes) and SDO write record (20 bytes):
  //   0  u16 frame record index (0-based)      8  u16 B1     16 u8  Send_SDO (write only)
  //   2  u16 that frame's data offset          10 u16 B2     17 u8  0
  //   4  u16 object index                      12 u16 B3     18 u16 0
  //   6  u8  sub-index                         14 u16 B4
  //   7  u8  object size (4, 2, 1)
  void sdo_records(CompiledTable table, const L::Section& section, std::size_t count_offset, bool write_table) {
    const std::size_t frames = write_table ? transmit_count_ : receive_count_;
    const auto linked = linked_rows("NrPdo", frames);
    const std::size_t held = take(table, linked.size(), section.records);
    for (std::size_t k = 0; k < held; ++k) {
      const auto& [node, f] = linked[k];
      const RowAttributes row(node);
      const std::size_t at = section.record(k);
      put_u16le(image_, at, static_cast<std::uint32_t>(f));
      put_u16le(image_, at + 2, write_table ? static_cast<std::uint32_t>(8 * f) : receive_offsets_[f]);
      put_u16le(image_, at + 4, lenient_u(row, "Index", 0));
      put_u8(image_, at + 6, lenient_u(row, "SubIndex", 0));
      put_u8(image_, at + 7, object_size(lenient(row, "Dimension", 0)));
      put_u16le(image_, at + 8, lenient_u(row, "B1", 0));
      put_u16le(image_, at + 10, lenient_u(row, "B2", 0));
      put_u16le(image_, at + 12, lenient_u(row, "B3", 0));
      put_u16le(image_, at + 14, lenient_u(row, "B4", 0));
      if (write_table) put_u8(image_, at + 16, lenient_u(row, "Send_SDO", 0));
    }
    put_u32le(settings_, count_offset, static_cast<std::uint32_t>(held));
  }

  // TPDO record (16 bytes), for transmit PDOs whose receive frame exists:
  //   0  u16 COB-ID                       6  u16 receive frame record index
  //   2  u8  dimension, unconverted       8  u16 that frame's data offset
  //   3  u8  flags: bit 0 data change,    10 u16 0
  //          bit 1 on CAN, bit 2 timer    12 u32 send timer
  //   4  u16 start byte (Offset)
  void tpdo_records() {
    const auto linked = linked_rows("Frame_J1939", receive_count_);
    const std::size_t held = take(CompiledTable::kTransmitPdos, linked.size(), L::kTpdos.records);
    for (std::size_t k = 0; k < held; ++k) {
      const auto& [node, f] = linked[k];
      const RowAttributes row(node);
      const std::size_t at = L::kTpdos.record(k);
      put_u16le(image_, at, lenient_u(row, "COB-ID", 0));
      put_u8(image_, at + 2, lenient_u(row, "Dimension", 0));
      std::uint32_t flags = 0;
      if (y_flag(row, "DataChange")) flags |= 1u << 0;
      if (y_flag(row, "OnCAN")) flags |= 1u << 1;
      if (y_flag(row, "OnTimer")) flags |= 1u << 2;
      put_u8(image_, at + 3, flags);
      put_u16le(image_, at + 4, lenient_u(row, "Offset", 0));
      put_u16le(image_, at + 6, static_cast<std::uint32_t>(f));
      put_u16le(image_, at + 8, receive_offsets_[f]);
      put_u32le(image_, at + 12, lenient_u(row, "SendTimer", 0));
    }
    put_u32le(settings_, settings::kTpdoCountAgain, static_cast<std::uint32_t>(held));
    put_u32le(settings_, settings::kTpdoCount, static_cast<std::uint32_t>(held));
  }

  // RPDO record (8 bytes), for receive PDOs whose transmit frame exists:
  //   0  u16 COB-ID    2 u8 dimension    3 u8 0    4 u16 start byte    6 u16 transmit frame record
  void rpdo_records() {
    const auto linked = linked_rows("Frame_J1939", transmit_count_);
    const std::size_t held = take(CompiledTable::kReceivePdos, linked.size(), L::kRpdos.records);
    for (std::size_t k = 0; k < held; ++k) {
      const auto& [node, f] = linked[k];
      const RowAttributes row(node);
      const std::size_t at = L::kRpdos.record(k);
      put_u16le(image_, at, lenient_u(row, "COB-ID", 0));
      put_u8(image_, at + 2, lenient_u(row, "Dimension", 0));
      put_u16le(image_, at + 4, lenient_u(row, "Offset", 0));
      put_u16le(image_, at + 6, static_cast<std::uint32_t>(f));
    }
    put_u32le(settings_, settings::kRpdoCountAgain, static_cast<std::uint32_t>(held));
    put_u32le(settings_, settings::kRpdoCount, static_cast<std::uint32_t>(held));
  }

  bool canopen_option(std::uint32_t bit) const {
    return (get_u32le(settings_, settings::kCanopenOptions) & bit) != 0;
  }

  // The rows under the root element of this name; none when the document has no such root.
  std::vector<pugi::xml_node> named_rows(const char* root_name) const {
    return document_ == nullptr ? std::vector<pugi::xml_node>{} : element_rows(document_->element(root_name));
  }

  // Node-guarding record (4 bytes): 0 u8 node ID, 1 u8 life time factor, 2 u16 guard time.
  void node_guard_records() {
    if (!canopen_option(settings::kNodeGuarding) || document_ == nullptr) return;
    const std::vector<pugi::xml_node> rows = named_rows("Node_Guarding");
    const std::size_t held = take(CompiledTable::kNodeGuard, rows.size(), L::kNodeGuard.records);
    for (std::size_t k = 0; k < held; ++k) {
      const std::size_t at = L::kNodeGuard.record(k);
      const RowAttributes row(rows[k]);
      put_u8(image_, at, lenient_u(row, "NodeID", 0));
      put_u8(image_, at + 1, lenient_u(row, "LifeTimeFactor", 0));
      put_u16le(image_, at + 2, lenient_u(row, "GuardTime", 0));
    }
    put_u32le(settings_, settings::kNodeGuardCount, static_cast<std::uint32_t>(held));
  }

  // Frame records of the node-guarding and SDO client frame tables (16 bytes): 0 u32 identifier
  // word, 4..15 zero. Only the first five rows are read; a missing row leaves its record 0.
  void frame_records(const std::vector<pugi::xml_node>& rows, const L::Section& section, bool all_with_priority) {
    for (std::size_t k = 0; k < L::kFrameSetRows && k < rows.size(); ++k) {
      const RowAttributes row(rows[k]);
      // The SDO client's three request frames carry no priority of their own.
      const bool with_priority = all_with_priority || k == 1 || k == 4;
      const std::int32_t priority = with_priority ? lenient(row, "Priority", 0) : 0;
      put_u32le(image_, section.record(k),
                j1939_identifier(priority, lenient(row, "DataPage", 0), lenient(row, "PGN", 0), lenient(row, "SA", 0)));
    }
  }

  void node_guard_frames() {
    if (!canopen_option(settings::kNodeGuarding) || document_ == nullptr) return;
    frame_records(named_rows("NG_J1939_Frames"), L::kNodeGuardFrames, true);
  }

  void sdo_client_frames() {
    if (!canopen_option(settings::kSdoClient) || document_ == nullptr) return;
    frame_records(named_rows("J1939_Frames_SDOClient"), L::kSdoClientFrames, false);
    put_u32le(settings_, settings::kSdoClientFrameCount, static_cast<std::uint32_t>(L::kFrameSetRows));
  }

  ByteSpan image_;
  ByteSpan settings_;
  const XmlDocument* document_ = nullptr;
  FormFill fill_{};
  std::size_t receive_count_ = 0;
  std::size_t transmit_count_ = 0;
  std::vector<std::uint16_t> receive_offsets_;
};

ImagePass::ImagePass(ByteSpan image) : impl_(std::make_unique<Impl>(image)) {}
ImagePass::~ImagePass() = default;
void ImagePass::begin() { impl_->begin(); }
void ImagePass::step(TableFile file, const XmlDocument* document) { impl_->step(file, document); }
void ImagePass::finish() { impl_->finish(); }
const FormFill& ImagePass::fill() const { return impl_->fill(); }

Result<FormFill> run_image_pass(ByteSpan image, ProjectDocuments& documents) {
  // Its own order: the settings first, then the tables.
  static constexpr TableFile kOrder[] = {
      TableFile::kSettings, TableFile::kReceiveFrames, TableFile::kTransmitFrames, TableFile::kSdoRead,
      TableFile::kSdoWrite, TableFile::kTransmitPdos,  TableFile::kReceivePdos,    TableFile::kNodeGuard,
      TableFile::kNodeGuardFrames, TableFile::kSdoClient};
  ImagePass pass(image);
  pass.begin();
  for (const TableFile file : kOrder) {
    Result<const XmlDocument*> document = documents.get(file);
    if (!document) return document.error();
    pass.step(file, *document);
  }
  pass.finish();
  return pass.fill();
}

}  // namespace brenvale
