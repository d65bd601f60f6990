// The table of paths that an interrupt removes, and the count of creations under way: shared by
// the POSIX signal handler and the Windows console handler.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace platform::cleanup {

enum SlotState : int { kFree, kFilling, kFile, kFolder };

// Paths registered without a folder of their own.
inline constexpr std::intptr_t kNoFolder = -1;

// Claims a slot for the path; -1 when the table is full or the path too long.
int claimSlot(SlotState kind, std::intptr_t folder, const std::string& path);
void releaseSlot(int slot) noexcept;

// Calls `remove` for every registered path, files first, so that a registered file inside a
// registered folder is gone before the folder. Lock-free and allocation-free.
void forEachRegistered(void (*remove)(SlotState kind, std::intptr_t folder,
                                      const char* path) noexcept) noexcept;

// Sequentially consistent on both sides: either a creating section sees `ending`, or the handler
// sees the section's count.
extern std::atomic<bool> ending;
extern std::atomic<int> creating;

// The counting half of TemporaryCreation: waits while a handler runs, then counts the section.
void enterCreation(void (*sleepMilliseconds)(long) noexcept);
void leaveCreation() noexcept;
// The handler's half: waits (briefly) for the sections under way to end. A thread that never
// returns from one (stopped in a debugger) must not keep the process alive.
void awaitSections(void (*sleepMilliseconds)(long) noexcept) noexcept;

}  // namespace platform::cleanup
