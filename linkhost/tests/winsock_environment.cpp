// WinSock is started once for every test of the program, as the link host
// does in its window creation.
#include <winsock2.h>

#include <gtest/gtest.h>

namespace {

class WinsockEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override { WSACleanup(); }
};

const auto *const g_environment = ::testing::AddGlobalTestEnvironment(new WinsockEnvironment);

}  // namespace
