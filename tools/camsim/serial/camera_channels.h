// What the cable-attached camera does with each channel: ZLtp control and
// data go to a ZLtp camera over loopback TCP, 0x0681 starts a new ZLtp link,
// HTTP requests get a status page.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cable_link.h"
#include "link/http_request_scanner.h"

namespace camsim_serial {

class CameraChannels : public CablePayloads {
 public:
  explicit CameraChannels(const SerialOptions &options);
  ~CameraChannels();
  CameraChannels(const CameraChannels &) = delete;
  CameraChannels &operator=(const CameraChannels &) = delete;

  // The link the answers go out on; set before the link runs.
  void Attach(CableLink &link) { link_ = &link; }
  void OnPayload(uint16_t type, const uint8_t *payload, size_t length) override;
  // Ends every ZLtp link and waits for the threads (after the link has ended).
  void Finish();

 private:
  struct Engine;  // one ZLtp link to the ZLtp camera
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };

  void ToEngine(bool data, const uint8_t *payload, size_t length);
  Engine *CurrentEngine(bool announced);
  void RetireEngine();
  void Pump(Engine &engine, bool data);
  void OnHttp(const uint8_t *payload, size_t length);
  std::string StatusPage();
  void Spawn(std::function<void()> work);
  void Prune();
  void Log(const std::string &text);

  const SerialOptions &options_;
  CableLink *link_ = nullptr;
  std::mutex mutex_;
  std::shared_ptr<Engine> engine_;
  std::vector<std::shared_ptr<Engine>> retired_;
  std::vector<Worker> workers_;
  // HTTP request being received (the PC sends one request at a time).
  vserver::HttpRequestScanner request_;
  std::string requestHead_;
  uint32_t bodySum_ = 0;
  unsigned requests_ = 0;
};

}  // namespace camsim_serial
