#pragma once
// Memory for large amounts of data: a file read whole, the bulk of a model
// read from a file.

#include <cstddef>
#include <memory>
#include <memory_resource>

// size bytes, left uninitialised, aligned for any value. A large block is laid
// on 2 MB pages where the system offers them (Linux: transparent huge pages
// on request): filling it then takes one page fault per 2 MB instead of one
// per 4 KB, which on some machines costs more than the filling itself.
// Throws std::bad_alloc.
void* AllocateLarge(size_t size);
// Frees a block of AllocateLarge(size).
void FreeLarge(void* p, size_t size);

// Memory for the bulk of one model read from a file (its vertices and faces),
// of about expected bytes in all: blocks handed out one after another from
// regions of AllocateLarge, the first of expected bytes, the next larger.
// Nothing freed is reused; the regions go back whole when the last owner
// lets go of the resource. Not for use from several threads at once.
std::shared_ptr<std::pmr::memory_resource> NewBulkMemory(size_t expected);
