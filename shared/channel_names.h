// Names of the kernel objects of one camera, all formed from its device key
// ("ZL1_TCPIP_" + address) by plain concatenation. A name must stay shorter
// than 260 characters; forming a longer one fails.
#pragma once

#include <optional>
#include <string>
#include <string_view>

constexpr size_t kObjectNameLimit = 260;

// The concatenation a + b + c, or nothing when it would not be shorter than 260.
std::optional<std::string> JoinObjectName(std::string_view a, std::string_view b, std::string_view c = {});

std::optional<std::string> DeviceKey(std::string_view address);
std::optional<std::string> InfoBlockName(std::string_view deviceKey);
std::optional<std::string> CommandBlockName(std::string_view deviceKey);
std::optional<std::string> ConnectionInfoName(std::string_view deviceKey);
std::optional<std::string> ReadLockName(std::string_view blockName);
std::optional<std::string> WriteMutexName(std::string_view blockName);
std::optional<std::string> FunctionCallMutexName(std::string_view blockName);
