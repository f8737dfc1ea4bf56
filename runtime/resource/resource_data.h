#pragma once
// Resources of the program as data, and zero-filled global memory blocks.

#include <windows.h>

#include <cstdint>

#include "runtime/core/typed_arg.h"

// String resource names and types are kept in buffers of this many
// characters with the terminator; a longer one is refused, never cut, since
// a cut name could name another resource.
constexpr int32_t kResourceNameCapacity = 256;

// Copies or addresses the program's resource of that name and type. Each of
// name and type is a string of at most 255 characters, a TY_INTEGER or
// TY_DWORD (read through the address with TY_BYREF), or a TY_WORD (16 bits
// through the address with TY_BYREF), the last two as integer names.
// The destination by its type code:
// - TY_STRING: a string of the string heap receives the resource's bytes and
//   a terminator, cut to the storage of its block (StringCapacity, the
//   terminator included), so no byte is ever written past its storage.
//   A string of other storage cannot be measured and is refused.
// - TY_INTEGER or TY_DWORD with TY_BYREF, TY_POINTER: the variable at the
//   value's address receives the address of the resource's data, read-only
//   and valid while the program runs.
// - TY_BLOCK: the variable at the value's address receives a new
//   zero-filled global block of the resource's size plus one byte holding
//   the data; the caller frees it with GlobalRelease.
// Returns 1, or 0 when the resource is not found or the destination is not
// accepted; nothing is written then.
int32_t LoadResourceData(TypedArg name, TypedArg type, TypedArg destination);

// Stores in *block a new zero-filled fixed global block of count times size
// bytes (GMEM_ZEROINIT; its handle is its address), owned by the caller and
// freed with GlobalRelease. Returns 0, or -1 with *block null when the
// memory is exhausted, a count or size is negative or the product does not
// fit 32 bits.
int32_t GlobalAllocZeroed(HGLOBAL* block, int32_t count, int32_t size);

// GlobalFree; a null block is allowed. Returns 0.
int32_t GlobalRelease(HGLOBAL block);
