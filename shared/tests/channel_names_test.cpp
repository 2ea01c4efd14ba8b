#include <gtest/gtest.h>

#include "channel_names.h"

TEST(ChannelNames, FormsEveryNameOfOneCamera) {
  const auto key = DeviceKey("10.0.0.5");
  ASSERT_TRUE(key);
  EXPECT_EQ(*key, "ZL1_TCPIP_10.0.0.5");
  EXPECT_EQ(*CommandBlockName(*key), "ZL1_ZLtpProxyServerZL1_TCPIP_10.0.0.5_COMMAND_PARAM");
  EXPECT_EQ(*ReadLockName(*CommandBlockName(*key)), "ZL1_ZLtpProxyServerZL1_TCPIP_10.0.0.5_COMMAND_PARAM_MUTEX_READ");
  EXPECT_EQ(*WriteMutexName("x"), "x_MUTEX_WRITE");
  EXPECT_EQ(*InfoBlockName(*key), "ZL1_ZLtpProxyServerZL1_TCPIP_10.0.0.5_INFO");
  EXPECT_EQ(*ConnectionInfoName(*key), "ZL1_TCPIP_10.0.0.5_CONNECTION_INFO");
  EXPECT_EQ(*FunctionCallMutexName(*ConnectionInfoName(*key)),
            "ZL1_TCPIP_10.0.0.5_CONNECTION_INFO_FUNCTION_CALL_MUTEX");
  // An empty block name gives the shared locks of every result mapping.
  EXPECT_EQ(*ReadLockName(""), "_MUTEX_READ");
}

TEST(ChannelNames, LongestAddressStaysBelowTheLimit) {
  const auto key = DeviceKey("255.255.255.255");
  ASSERT_TRUE(key);
  for (const auto &name : {InfoBlockName(*key), CommandBlockName(*key), ConnectionInfoName(*key)}) {
    ASSERT_TRUE(name);
    EXPECT_LT(name->size(), 260u);
    EXPECT_TRUE(ReadLockName(*name));
    EXPECT_TRUE(WriteMutexName(*name));
  }
}

TEST(ChannelNames, RefusesNamesOf260CharactersOrMore) {
  EXPECT_TRUE(JoinObjectName(std::string(250, 'a'), "b", std::string(8, 'c')));   // 259
  EXPECT_FALSE(JoinObjectName(std::string(250, 'a'), "b", std::string(9, 'c')));  // 260
  EXPECT_FALSE(ReadLockName(std::string(249, 'a')));                             // 249 + 11
  EXPECT_TRUE(ReadLockName(std::string(248, 'a')));
}
