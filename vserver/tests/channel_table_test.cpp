// The channel table between the serial reader and the connections.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "channel_table.h"

using namespace vserver;

namespace {

struct DeliverCall {
  ChannelTable *table;
  uint16_t type;
  const char *text;
  ChannelTable::Delivery result;
};

DWORD WINAPI DeliverThread(void *param) {
  auto *call = static_cast<DeliverCall *>(param);
  call->result = call->table->Deliver(call->type, reinterpret_cast<const uint8_t *>(call->text),
                                      std::strlen(call->text));
  return 0;
}

// Runs a delivery on a thread of its own, as the serial reader does.
class Delivery {
 public:
  Delivery(ChannelTable &table, uint16_t type, const char *text) : call_{&table, type, text} {
    thread_ = CreateThread(nullptr, 0, DeliverThread, &call_, 0, nullptr);
  }
  ~Delivery() {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  bool Done(DWORD waitMs) { return WaitForSingleObject(thread_, waitMs) == WAIT_OBJECT_0; }
  ChannelTable::Delivery Result() const { return call_.result; }

 private:
  DeliverCall call_;
  HANDLE thread_;
};

}  // namespace

TEST(ChannelTable, NineteenSlotsAtMost) {
  ChannelTable table;
  table.Init();
  std::array<ConnectionContext, 20> contexts;
  for (int i = 0; i < 19; ++i) EXPECT_EQ(table.AllocateSlot(contexts[i]), i);
  EXPECT_EQ(table.AllocateSlot(contexts[19]), -1) << "the 20th request is refused";
  table.FreeSlot(contexts[4]);
  EXPECT_EQ(table.AllocateSlot(contexts[19]), 4) << "the freed slot is reused";
  EXPECT_EQ(table.Used(), 19);
}

TEST(ChannelTable, PayloadWaitsUntilTheOwnerTakesIt) {
  ChannelTable table;
  table.Init();
  auto context = std::make_unique<ConnectionContext>();
  table.AllocateSlot(*context);
  table.ArmSlot(*context, 0x0600);
  EXPECT_TRUE(table.HasChannel(0x0600));
  EXPECT_EQ(table.Deliver(0x0680, reinterpret_cast<const uint8_t *>("x"), 1), ChannelTable::Delivery::NoChannel);

  Delivery first(table, 0x0600, "first");
  EXPECT_FALSE(first.Done(100)) << "the owner has not asked for a payload yet";
  EXPECT_EQ(table.WaitForPayload(*context, 5000), 5u);
  EXPECT_TRUE(first.Done(5000));
  EXPECT_EQ(std::memcmp(context->receiveBuffer, "first", 5), 0);

  Delivery second(table, 0x0600, "second");
  EXPECT_FALSE(second.Done(100)) << "one payload at a time";
  EXPECT_EQ(table.WaitForPayload(*context, 5000), 6u);
  EXPECT_EQ(table.WaitForPayload(*context, 50), 0u) << "nothing more came";
}

TEST(ChannelTable, FreeingASlotReleasesAWaitingReaderAtOnce) {
  ChannelTable table;
  table.Init();
  auto context = std::make_unique<ConnectionContext>();
  table.AllocateSlot(*context);
  table.ArmSlot(*context, 0x0500);
  EXPECT_EQ(table.WaitForPayload(*context, 10), 0u);
  Delivery taken(table, 0x0500, "one");
  ASSERT_TRUE(taken.Done(5000));
  Delivery blocked(table, 0x0500, "two");  // the owner is busy with "one"
  EXPECT_FALSE(blocked.Done(100));
  table.FreeSlot(*context);
  ASSERT_TRUE(blocked.Done(2000));
  EXPECT_EQ(blocked.Result(), ChannelTable::Delivery::SlotGone);
  EXPECT_TRUE(table.WaitAllGone(0));
}

TEST(ChannelTable, EndingSlotsWakesOwnersWithAnEmptyPayload) {
  ChannelTable table;
  table.Init();
  auto context = std::make_unique<ConnectionContext>();
  table.AllocateSlot(*context);
  table.ArmSlot(*context, 0x0680);
  table.EndAll();
  const DWORD start = GetTickCount();
  EXPECT_EQ(table.WaitForPayload(*context, INFINITE), 0u);
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(table.Deliver(0x0680, reinterpret_cast<const uint8_t *>("late"), 4), ChannelTable::Delivery::SlotGone);
  EXPECT_FALSE(table.WaitAllGone(50));
  table.FreeSlot(*context);
  EXPECT_TRUE(table.WaitAllGone(50));
}
