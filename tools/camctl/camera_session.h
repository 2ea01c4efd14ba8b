// One opened camera for the lifetime of a command: the API is initialised,
// the camera opened, and closed again on every path out of the command.
#pragma once

#include <string>

#include "camapi.h"

class CameraSession {
 public:
  CameraSession() = default;
  ~CameraSession();
  CameraSession(const CameraSession &) = delete;
  CameraSession &operator=(const CameraSession &) = delete;

  // Initialises the API and opens the camera at the address.
  ZLXRESULT Open(const std::string &address);
  HZLXCAMERA Handle() const { return camera_; }
  const tagZLXMODEL &Model() const { return model_; }

 private:
  HZLXCAMERA camera_ = nullptr;
  tagZLXMODEL model_{};
};
