// The compile of a configuration in which one table file is fuzzed among the valid files of the
// example: either the seven output files are written complete (the bytes the compiler holds,
// the same at a second compile) or the compile is refused with a message and writes nothing.
#include "compiler/compiler.h"
#include "configuration.h"

using namespace brenvale;

namespace {

// The order is the fuzz driver's seed order; keep both alike.
constexpr const char* kNames[] = {"ParGen.xml",   "RCobDef.xml",   "TCobDef.xml", "TpdoJ1939.xml",
                                  "pdoJ1939.xml", "RInfoCob.xml",  "TInfoCob.xml", "SDOClient.xml",
                                  "NodeGuard.xml", "NG_J1939_Frame.xml"};

std::string_view as_text(ConstByteSpan bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::FuzzedConfiguration configuration(BRENVALE_EXAMPLES "/Truck_Demo", kNames);
  static const Clock clock = fixed_clock(LocalDateTime{2024, 3, 7, 14, 30, 12});
  std::string name;
  const ConfigFiles files{configuration.lay_out(data, size, name)};
  std::filesystem::create_directories(files.bin());

  Compiler compiler;
  const Result<UpdatePath> done = compile_and_write(compiler, files, clock);
  if (!done) {
    fuzz::require(!done.error().message.empty(), "a refused compile says why");
    fuzz::require(fuzz::entry_names(files.bin()).empty(), "a refused compile writes nothing");
    return 0;
  }

  const std::set<std::string> outputs = {"bank1.bin", "bank2.bin", "bank3.bin", "bank4.bin",
                                         "bank5.bin", "bankg.c",   "bank.bin"};
  fuzz::require(fuzz::entry_names(files.bin()) == outputs, "the seven files and nothing else");
  for (int n = 1; n <= 5; ++n) {
    fuzz::require(fuzz::read_bytes(files.bin() / ("bank" + std::to_string(n) + ".bin")) == as_text(compiler.bank(n)),
                  "each bank file holds its bank");
  }
  fuzz::require(fuzz::read_bytes(files.bin() / "bank.bin") == as_text(compiler.image()), "bank.bin holds the image");
  fuzz::require(fuzz::read_bytes(files.bin() / "bankg.c") == bank_dump_text(compiler.bank(1), compiler.bank(2)),
                "bankg.c holds banks 1 and 2");

  // The same configuration compiled again by the same compiler gives the same bytes.
  const std::string image(as_text(compiler.image()));
  std::string banks;
  for (int n = 1; n <= 5; ++n) banks += as_text(compiler.bank(n));
  fuzz::require(compiler.compile(files, clock).ok(), "a second compile succeeds");
  std::string banks_again;
  for (int n = 1; n <= 5; ++n) banks_again += as_text(compiler.bank(n));
  fuzz::require(as_text(compiler.image()) == image && banks_again == banks, "a second compile gives the same bytes");
  return 0;
}
