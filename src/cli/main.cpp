// brenvale-cli: the configurator's core without a display, for scripts and build servers.
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>

#include "cli/commands.h"

namespace {

// The working memory of a large compile: its parsed tables, banks, image and C dump.
constexpr std::size_t kWorkingMemory = 1 << 20;

// Maps the first part of the heap in one step. Touched page by page, each page costs a page
// fault, and on a virtual machine those add up to as much as parsing the tables; mapped at
// once the same pages cost a fraction. The block goes back to the heap, where the command's
// allocations find it already mapped.
void map_working_memory() {
#if !defined(__SANITIZE_ADDRESS__) && defined(MADV_POPULATE_WRITE)
  void* block = std::malloc(kWorkingMemory);
  if (block == nullptr) return;
  // Whole pages inside the block only; where the kernel cannot do it, pages fault as usual.
  const auto first = (reinterpret_cast<std::uintptr_t>(block) + 4095) & ~std::uintptr_t{4095};
  const auto end = (reinterpret_cast<std::uintptr_t>(block) + kWorkingMemory) & ~std::uintptr_t{4095};
  if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
  std::free(block);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file size limit must fail like a full disk, so that the output is left
  // as it was and the user gets a message; the default action would end the process mid-write.
  std::signal(SIGXFSZ, SIG_IGN);
  // One command runs per process and frees little before it ends: keep freed memory for reuse
  // instead of returning it to the system, whose page faults would cost more than a compile.
  ::mallopt(M_MMAP_THRESHOLD, 64 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 128 << 20);
  map_working_memory();
  return brenvale::cli::run_cli(argc, argv);
}
