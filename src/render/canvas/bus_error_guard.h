// Memory mapped from a file that another process may cut short. Reading a
// page past the file's new end raises SIGBUS, which would end the process.
// A guarded range catches that: the lost pages are replaced by zero pages,
// the range is marked damaged, and the read carries on; the owner of the
// range sees the mark and puts right pixels there before they are shown.
// Any other SIGBUS goes on to the handler that was there before.
#pragma once

#include <cstddef>

namespace tcmap {

// Guards `length` bytes at `begin` (a whole mapping, page aligned). Returns
// the guard's slot, or -1 when every slot is taken (the caller then must not
// rely on the mapping).
int guardMappedRange(void* begin, size_t length);

// Whether a read in the guarded range hit a page the file no longer has.
bool guardedRangeDamaged(int slot);

// Ends the guard before the range is unmapped.
void unguardMappedRange(int slot);

}  // namespace tcmap
