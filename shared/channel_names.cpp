#include "channel_names.h"

namespace {
constexpr std::string_view kProxyPrefix = "ZL1_ZLtpProxyServer";
}

std::optional<std::string> JoinObjectName(std::string_view a, std::string_view b, std::string_view c) {
  if (a.size() + b.size() + c.size() >= kObjectNameLimit) return std::nullopt;
  std::string name;
  name.reserve(a.size() + b.size() + c.size());
  name.append(a).append(b).append(c);
  return name;
}

std::optional<std::string> DeviceKey(std::string_view address) { return JoinObjectName("ZL1_TCPIP_", address); }

std::optional<std::string> InfoBlockName(std::string_view deviceKey) {
  return JoinObjectName(kProxyPrefix, deviceKey, "_INFO");
}

std::optional<std::string> CommandBlockName(std::string_view deviceKey) {
  return JoinObjectName(kProxyPrefix, deviceKey, "_COMMAND_PARAM");
}

std::optional<std::string> ConnectionInfoName(std::string_view deviceKey) {
  return JoinObjectName(deviceKey, "_CONNECTION_INFO");
}

std::optional<std::string> ReadLockName(std::string_view blockName) {
  return JoinObjectName(blockName, "_MUTEX_READ");
}

std::optional<std::string> WriteMutexName(std::string_view blockName) {
  return JoinObjectName(blockName, "_MUTEX_WRITE");
}

std::optional<std::string> FunctionCallMutexName(std::string_view blockName) {
  return JoinObjectName(blockName, "_FUNCTION_CALL_MUTEX");
}
