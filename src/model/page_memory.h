// Large blocks of memory made ready in one go.
#pragma once

#include <cstddef>

namespace tavrine {

// Asks the system to put memory behind the whole pages of [data, data + size) at once: one call
// instead of a page fault per page, which costs several times as much on a virtual machine.
// Only a hint: blocks under a megabyte, and systems without the request, are left alone.
void PrefaultPages(void* data, size_t size);

}  // namespace tavrine
