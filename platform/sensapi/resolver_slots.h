#pragma once
// The bound on resolver threads in flight. A look-up abandoned at its
// time-out lives on until the platform's resolver returns, which takes tens
// of seconds for a silent name server and never for a hung name service; a
// slot stands for one such thread, so queries for dead names cannot pile
// threads up until a 32-bit process runs out of address space.

#include <cstdint>

// Room for the monitor (two queries per tick of 10 s and more, each held
// by a silent name server for tens of seconds) and for a program that
// probes many hosts through a healthy resolver, which frees a slot within
// milliseconds.
constexpr int32_t kMaxResolverThreads = 32;

// Stack reserved for one resolver thread: a look-up needs little, and the
// executable's default (2 MiB for the monitor) times the threads a hung
// resolver keeps would be address space for nothing.
constexpr uint32_t kResolverStackBytes = 256 * 1024;

// Makes the slots, all free. Called once, as the DLL is loaded, before any
// query can run. Returns 1, or 0 with the last error set.
[[nodiscard]] int32_t OpenResolverSlots();

// Drops the slots, once no resolver thread is left: as the DLL is unloaded.
void CloseResolverSlots();

// Takes a slot, waiting at most timeoutMs for one to free. Returns 1, or 0
// with the last error set (ERROR_TIMEOUT when none freed in time).
[[nodiscard]] int32_t ClaimResolverSlot(uint32_t timeoutMs);

// Gives back a slot that ClaimResolverSlot took; any thread may.
void ReleaseResolverSlot();
