// Keeps COM initialised on the calling thread for the lifetime of the object
// (when the thread had not initialised it already).
#pragma once

class ComScope {
 public:
  ComScope();
  ~ComScope();
  ComScope(const ComScope &) = delete;
  ComScope &operator=(const ComScope &) = delete;

 private:
  bool uninitialize_ = false;
};
