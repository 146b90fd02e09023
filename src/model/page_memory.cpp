// Prefaulting through madvise, for the model and for large file buffers.
#include "model/page_memory.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

#include "model/element_model.h"

namespace tavrine {

void PrefaultPages(void* data, size_t size) {
#ifdef MADV_POPULATE_WRITE
  constexpr size_t kWorthIt = size_t{1} << 20;
  if (size < kWorthIt) {
    return;
  }
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<uintptr_t>(data) + page - 1) / page * page;
  const auto end = (reinterpret_cast<uintptr_t>(data) + size) / page * page;
  if (end > begin) {
    // A failure leaves the pages to be faulted in one by one, as without the hint.
    (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
  }
#else
  (void)data, (void)size;
#endif
}

void* ElementModel::operator new(size_t size, std::align_val_t align) {
  void* model = ::operator new(size, align);
  PrefaultPages(model, size);
  return model;
}

void ElementModel::operator delete(void* model, std::align_val_t align) noexcept {
  ::operator delete(model, align);
}

}  // namespace tavrine
