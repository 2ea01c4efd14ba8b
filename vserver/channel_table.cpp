#include "channel_table.h"

#include <cstring>

namespace vserver {
namespace {

// Remaining time of a wait that started at `start`.
DWORD Remaining(DWORD start, DWORD timeoutMs) {
  if (timeoutMs == INFINITE) return INFINITE;
  const DWORD elapsed = GetTickCount() - start;
  return elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
}

}  // namespace

ChannelTable::ChannelTable() {
  InitializeCriticalSection(&lock_);
  InitializeConditionVariable(&changed_);
}

ChannelTable::~ChannelTable() { DeleteCriticalSection(&lock_); }

void ChannelTable::Init() {
  EnterCriticalSection(&lock_);
  for (Slot &slot : slots_) slot = Slot{0, nullptr, slot.generation + 1};
  used_ = 0;
  LeaveCriticalSection(&lock_);
}

ChannelTable::Slot *ChannelTable::SlotOf(ConnectionContext &context) {
  if (context.slot < 0 || context.slot >= kSlots) return nullptr;
  Slot &slot = slots_[context.slot];
  return slot.owner == &context ? &slot : nullptr;
}

int ChannelTable::AllocateSlot(ConnectionContext &context) {
  EnterCriticalSection(&lock_);
  int index = -1;
  if (used_ < kMaxUsed) {
    for (int i = 0; i < kSlots && index < 0; ++i)
      if (slots_[i].type == 0) index = i;
  }
  if (index >= 0) {
    Slot &slot = slots_[index];
    slot.type = -1;
    slot.owner = &context;
    slot.bufferFree = slot.dataReady = slot.ended = false;
    ++used_;
    context.slot = index;
  }
  LeaveCriticalSection(&lock_);
  return index;
}

void ChannelTable::FreeSlot(ConnectionContext &context) {
  EnterCriticalSection(&lock_);
  if (Slot *slot = SlotOf(context)) {
    *slot = Slot{0, nullptr, slot->generation + 1};
    --used_;
    context.slot = -1;
    WakeAllConditionVariable(&changed_);
  }
  LeaveCriticalSection(&lock_);
}

void ChannelTable::ArmSlot(ConnectionContext &context, uint16_t type) {
  EnterCriticalSection(&lock_);
  if (Slot *slot = SlotOf(context)) {
    slot->type = type;
    slot->dataReady = false;
  }
  context.receivedLength = 0;
  LeaveCriticalSection(&lock_);
}

size_t ChannelTable::WaitForPayload(ConnectionContext &context, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  EnterCriticalSection(&lock_);
  size_t length = 0;
  Slot *slot = SlotOf(context);
  if (slot) {
    slot->bufferFree = true;
    WakeAllConditionVariable(&changed_);
    while (!slot->dataReady && !slot->ended && SlotOf(context) == slot) {
      const DWORD wait = Remaining(start, timeoutMs);
      if (wait == 0) break;
      SleepConditionVariableCS(&changed_, &lock_, wait);
    }
    if (SlotOf(context) == slot && slot->dataReady) {
      slot->dataReady = false;
      length = slot->ended ? 0 : context.receivedLength;
    }
  }
  LeaveCriticalSection(&lock_);
  return length;
}

void ChannelTable::EndSlot(ConnectionContext &context) {
  EnterCriticalSection(&lock_);
  if (Slot *slot = SlotOf(context)) {
    slot->ended = true;
    context.receivedLength = 0;
    WakeAllConditionVariable(&changed_);
  }
  LeaveCriticalSection(&lock_);
}

void ChannelTable::EndAll() {
  EnterCriticalSection(&lock_);
  for (Slot &slot : slots_) {
    if (slot.owner) {
      slot.ended = true;
      slot.owner->receivedLength = 0;
    }
  }
  WakeAllConditionVariable(&changed_);
  LeaveCriticalSection(&lock_);
}

ChannelTable::Delivery ChannelTable::Deliver(uint16_t type, const uint8_t *payload, size_t length) {
  EnterCriticalSection(&lock_);
  Slot *slot = nullptr;
  for (Slot &candidate : slots_)
    if (candidate.type == type && !slot) slot = &candidate;
  Delivery result = Delivery::NoChannel;
  if (slot) {
    // Waits for the owner without a time limit, but a slot that is freed or
    // ended meanwhile releases the reader at once.
    const unsigned generation = slot->generation;
    while (!slot->bufferFree && !slot->ended && slot->generation == generation)
      SleepConditionVariableCS(&changed_, &lock_, INFINITE);
    if (slot->generation != generation || slot->ended) {
      result = Delivery::SlotGone;
    } else {
      slot->bufferFree = false;
      if (length > sizeof slot->owner->receiveBuffer) length = sizeof slot->owner->receiveBuffer;
      std::memcpy(slot->owner->receiveBuffer, payload, length);
      slot->owner->receivedLength = length;
      slot->dataReady = true;
      WakeAllConditionVariable(&changed_);
      result = Delivery::Delivered;
    }
  }
  LeaveCriticalSection(&lock_);
  return result;
}

bool ChannelTable::HasChannel(uint16_t type) {
  EnterCriticalSection(&lock_);
  bool found = false;
  for (const Slot &slot : slots_) found = found || slot.type == type;
  LeaveCriticalSection(&lock_);
  return found;
}

bool ChannelTable::WaitAllGone(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  EnterCriticalSection(&lock_);
  while (used_ > 0) {
    const DWORD wait = Remaining(start, timeoutMs);
    if (wait == 0) break;
    SleepConditionVariableCS(&changed_, &lock_, wait);
  }
  const bool gone = used_ == 0;
  LeaveCriticalSection(&lock_);
  return gone;
}

int ChannelTable::Used() {
  EnterCriticalSection(&lock_);
  const int used = used_;
  LeaveCriticalSection(&lock_);
  return used;
}

}  // namespace vserver
