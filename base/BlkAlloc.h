// BlkAlloc.h: the small-block allocator behind CString. Blocks below 320
// bytes are kept on 80 free lists by size / 4 when freed and handed out again
// (last freed first) to the next request of the same class; larger blocks go
// straight to and from the C library. Every block has 8 spare bytes, so a
// block taken for one size of a class serves every size of that class.
//
// A free block's first word is the link to the next free block of its list;
// blocks come straight from malloc, so the link is pointer-sized and
// max-aligned. Not thread-safe: the system has one thread.
#pragma once

#include <cstddef>

// A block of at least size bytes. Allocation is taken to succeed.
void* blkalloc(unsigned long size);
// Gives back a block from blkalloc; size must be the one it was taken with.
void blkfree(void* block, unsigned long size);

// Checks nothing: a hook for a debugging allocator.
inline void i_blkverify(void*, unsigned long) {}
