// What ZlxOpenCamera hands out: the camera's device and its call guard.
#pragma once

#include "call_guard.h"
#include "logical_device.h"

struct ZLXCAMERA_ {
  CLogicalDevice *device;
  CCallGuardBase *guard;
};
