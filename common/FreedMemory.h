#pragma once
// Freed memory that goes back to the system. By default glibc raises its threshold for mapping
// a block of its own each time such a block is freed, so after a few documents every buffer of
// up to 32 MiB comes from the heap, whose freed middle the process keeps: a window that opens,
// edits and closes programs all day grew by a fifth. Fixed thresholds keep large buffers in
// mappings of their own, returned whole when freed, and trim the heap's free top early.
void ReturnFreedMemoryToTheSystem();
