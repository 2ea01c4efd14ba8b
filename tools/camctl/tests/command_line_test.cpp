#include <gtest/gtest.h>

#include "command_line.h"
#include "help_text.h"

namespace {

bool Parse(std::vector<std::string> args, Invocation &invocation, std::string &error) {
  return ParseCommandLine(args, invocation, error);
}

TEST(CommandLine, GlobalOptionsStandAnywhere) {
  Invocation inv;
  std::string error;
  ASSERT_TRUE(Parse({"get", "--progress", "0:/DCIM/A.JPG", "--address", "10.0.0.5", "out"}, inv, error)) << error;
  EXPECT_EQ(inv.command->id, CommandId::Get);
  EXPECT_TRUE(inv.progress);
  EXPECT_EQ(inv.address, "10.0.0.5");
  EXPECT_EQ(inv.operands, (std::vector<std::string>{"0:/DCIM/A.JPG", "out"}));
  ASSERT_TRUE(Parse({"--address=192.168.0.1", "-y", "format", "1"}, inv, error)) << error;
  EXPECT_TRUE(inv.yes);
  EXPECT_EQ(inv.address, "192.168.0.1");
}

TEST(CommandLine, RefusesWithOneLineReasons) {
  Invocation inv;
  std::string error;
  EXPECT_FALSE(Parse({}, inv, error));
  EXPECT_FALSE(Parse({"frobnicate"}, inv, error));
  EXPECT_NE(error.find("unknown command 'frobnicate'"), std::string::npos);
  EXPECT_FALSE(Parse({"ls", "--bogus"}, inv, error));
  EXPECT_NE(error.find("unknown option '--bogus'"), std::string::npos);
  EXPECT_FALSE(Parse({"get"}, inv, error));
  EXPECT_NE(error.find("usage: camctl get CAMERA-PATH [LOCAL]"), std::string::npos);
  EXPECT_FALSE(Parse({"info", "extra"}, inv, error));
  EXPECT_NE(error.find("too many operands"), std::string::npos);
  EXPECT_FALSE(Parse({"ls", "--replace", "0:/"}, inv, error));
  EXPECT_NE(error.find("'--replace' does not apply to 'ls'"), std::string::npos);
  EXPECT_FALSE(Parse({"info", "--address"}, inv, error));
  EXPECT_FALSE(Parse({"info", "--address", "camera.local"}, inv, error));
  EXPECT_EQ(error.find('\n'), std::string::npos);
}

TEST(CommandLine, CommandOptionsAndEndOfOptions) {
  Invocation inv;
  std::string error;
  ASSERT_TRUE(Parse({"put", "--replace", "a.jpg", "0:/DCIM/"}, inv, error)) << error;
  EXPECT_TRUE(inv.options & kOptionReplace);
  ASSERT_TRUE(Parse({"ls", "-R", "0:/DCIM/"}, inv, error)) << error;
  EXPECT_TRUE(inv.options & kOptionRecursive);
  ASSERT_TRUE(Parse({"rm", "-f", "--", "--odd-name"}, inv, error)) << error;
  EXPECT_TRUE(inv.options & kOptionForce);
  EXPECT_EQ(inv.operands, std::vector<std::string>{"--odd-name"});
  // Attribute changes look like options but are operands of attr.
  ASSERT_TRUE(Parse({"attr", "0:/A.JPG", "-r+a"}, inv, error)) << error;
  EXPECT_EQ(inv.operands[1], "-r+a");
  ASSERT_TRUE(Parse({"attr", "0:/A.JPG", "--", "-h"}, inv, error)) << error;
  EXPECT_EQ(inv.operands[1], "-h");
}

TEST(CommandLine, HelpForms) {
  Invocation inv;
  std::string error;
  ASSERT_TRUE(Parse({"--help"}, inv, error));
  EXPECT_TRUE(inv.help);
  EXPECT_EQ(inv.command, nullptr);
  ASSERT_TRUE(Parse({"help", "put"}, inv, error));
  EXPECT_TRUE(inv.help);
  ASSERT_NE(inv.command, nullptr);
  EXPECT_EQ(inv.command->id, CommandId::Put);
  ASSERT_TRUE(Parse({"get", "--help"}, inv, error));  // no operand needed with --help
  EXPECT_EQ(inv.command->id, CommandId::Get);
  EXPECT_FALSE(Parse({"help", "nothing"}, inv, error));

  const std::string general = GeneralHelp();
  for (const char *name : {"info", "drives", "ls", "get", "put", "thumb", "rm", "rmdir", "mkdir", "mv", "cp", "attr",
                           "format", "config-get", "config-set", "stamp-sizes", "settings"})
    EXPECT_NE(general.find(std::string("  ") + name + " "), std::string::npos) << name;
  EXPECT_NE(general.find("Exit codes:"), std::string::npos);
  EXPECT_EQ(CommandHelp(*FindCommand("put")).rfind("Usage: camctl [OPTIONS] put [--replace] LOCAL CAMERA-FOLDER\n", 0),
            0u);
}

TEST(CommandLine, DottedIPv4) {
  for (const char *good : {"127.0.0.1", "0.0.0.0", "255.255.255.255", "192.168.100.200"})
    EXPECT_TRUE(IsDottedIPv4(good)) << good;
  for (const char *bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "1.2.3.", ".1.2.3", "1.2.3.4a", "1234.1.1.1",
                          "a.b.c.d", "192.168.100.2000"})
    EXPECT_FALSE(IsDottedIPv4(bad)) << bad;
}

}  // namespace
