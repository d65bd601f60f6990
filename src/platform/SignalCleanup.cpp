// The clean-up table that the interrupt handlers read, and the registrations that fill it.
#include "platform/SignalCleanup.h"

#include <cstring>
#include <utility>

#include "platform/CleanupTable.h"

namespace platform {

namespace cleanup {

namespace {

// The handler may run at any moment, on any thread: the table is fixed in size and each slot
// is claimed and released through its atomic state alone, with no lock; the handler allocates
// nothing.
constexpr std::size_t kPathCapacity = 4096;

struct Slot {
  std::atomic<int> state{kFree};
  std::intptr_t folder = kNoFolder;
  char path[kPathCapacity];
};

constexpr int kSlotCount = 64;
#ifdef _WIN32
// Made at the first registration and never freed: MinGW writes even this table's initial state
// into the image, a quarter megabyte in every merger file, and a handler must never meet a freed
// one. Only registering allocates; the handler reads a table that is there or finds none.
std::atomic<Slot*> g_slots{nullptr};

Slot* slots() {
  Slot* table = g_slots.load(std::memory_order_acquire);
  if (table != nullptr) return table;
  auto* made = new Slot[kSlotCount];
  if (g_slots.compare_exchange_strong(table, made, std::memory_order_acq_rel)) return made;
  delete[] made;  // another thread made it first
  return table;
}

Slot* madeSlots() noexcept { return g_slots.load(std::memory_order_acquire); }
#else
// A static table here: a heap one would be lost, never freed, when a library that holds this
// code is unloaded.
Slot g_table[kSlotCount];

Slot* slots() { return g_table; }
Slot* madeSlots() noexcept { return g_table; }
#endif

}  // namespace

std::atomic<bool> ending{false};
std::atomic<int> creating{0};

int claimSlot(SlotState kind, std::intptr_t folder, const std::string& path) {
  if (path.empty() || path.size() >= kPathCapacity) return -1;
  Slot* table = slots();
  for (int i = 0; i < kSlotCount; ++i) {
    Slot& slot = table[i];
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.folder = folder;
    slot.state.store(kind, std::memory_order_release);
    return i;
  }
  return -1;
}

void releaseSlot(int slot) noexcept {
  madeSlots()[slot].state.store(kFree, std::memory_order_release);
}

void forEachRegistered(void (*remove)(SlotState kind, std::intptr_t folder,
                                      const char* path) noexcept) noexcept {
  const Slot* table = madeSlots();
  if (table == nullptr) return;
  for (SlotState kind : {kFile, kFolder}) {
    for (int i = 0; i < kSlotCount; ++i) {
      const Slot& slot = table[i];
      if (slot.state.load(std::memory_order_acquire) == kind) remove(kind, slot.folder, slot.path);
    }
  }
}

void enterCreation(void (*sleepMilliseconds)(long) noexcept) {
  for (;;) {
    creating.fetch_add(1);
    if (!ending.load()) return;
    // A signal is being handled and will most likely end the process: nothing created now could
    // be removed any more.
    creating.fetch_sub(1);
    sleepMilliseconds(1);
  }
}

void leaveCreation() noexcept { creating.fetch_sub(1); }

void awaitSections(void (*sleepMilliseconds)(long) noexcept) noexcept {
  for (int i = 0; i < 500 && creating.load() != 0; ++i) sleepMilliseconds(1);
}

}  // namespace cleanup

CleanupOnSignal CleanupOnSignal::file(const std::string& path) {
  return CleanupOnSignal(cleanup::claimSlot(cleanup::kFile, cleanup::kNoFolder, path));
}

CleanupOnSignal CleanupOnSignal::folder(const std::string& path) {
  return CleanupOnSignal(cleanup::claimSlot(cleanup::kFolder, cleanup::kNoFolder, path));
}

CleanupOnSignal::CleanupOnSignal(CleanupOnSignal&& other) noexcept
    : m_slot(std::exchange(other.m_slot, -1)) {}

CleanupOnSignal& CleanupOnSignal::operator=(CleanupOnSignal&& other) noexcept {
  if (this != &other) {
    forget();
    m_slot = std::exchange(other.m_slot, -1);
  }
  return *this;
}

void CleanupOnSignal::forget() noexcept {
  if (m_slot < 0) return;
  cleanup::releaseSlot(m_slot);
  m_slot = -1;
}

}  // namespace platform
