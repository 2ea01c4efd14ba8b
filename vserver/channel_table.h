// The channel table: 20 slots, each routing the camera's frames of one
// channel type to the connection that owns the slot. One payload waits in
// a slot at a time: the serial reader hands it over when the owner has
// taken the previous one.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "connection_context.h"

namespace vserver {

class ChannelTable {
 public:
  static constexpr int kSlots = 20;
  static constexpr int kMaxUsed = 19;

  ChannelTable();
  ~ChannelTable();
  ChannelTable(const ChannelTable &) = delete;
  ChannelTable &operator=(const ChannelTable &) = delete;

  // Clears every slot (the table must be unused).
  void Init();
  // Slot index stored in the context, or -1 when 19 slots are in use.
  int AllocateSlot(ConnectionContext &context);
  // Frees the context's slot; a reader waiting to deliver into it is released.
  void FreeSlot(ConnectionContext &context);
  // Gives the slot its channel type and forgets any received payload.
  void ArmSlot(ConnectionContext &context, uint16_t type);
  // Takes the next payload of the context's slot: its length, 0 when none
  // came within the time-out or the slot was ended.
  size_t WaitForPayload(ConnectionContext &context, DWORD timeoutMs);
  // Ends the owner's wait with an empty payload.
  void EndSlot(ConnectionContext &context);
  // Ends every used slot (link stopped or camera gone); further waits return 0 at once.
  void EndAll();

  enum class Delivery { Delivered, NoChannel, SlotGone };
  // Reader side: copies the payload into the owner of the first slot of the
  // type once the owner has taken the previous payload.
  Delivery Deliver(uint16_t type, const uint8_t *payload, size_t length);
  bool HasChannel(uint16_t type);
  // Waits until no slot is used; false on time-out.
  bool WaitAllGone(DWORD timeoutMs);
  int Used();

 private:
  struct Slot {
    int type = 0;  // 0 free, -1 reserved, else the channel type
    ConnectionContext *owner = nullptr;
    unsigned generation = 0;  // changes whenever the slot is freed
    bool bufferFree = false;
    bool dataReady = false;
    bool ended = false;
  };
  Slot *SlotOf(ConnectionContext &context);

  CRITICAL_SECTION lock_;
  CONDITION_VARIABLE changed_;
  std::array<Slot, kSlots> slots_;
  int used_ = 0;
};

}  // namespace vserver
