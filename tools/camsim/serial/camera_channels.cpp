#include "camera_channels.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "link/frame.h"
#include "socket_io.h"

namespace camsim_serial {
namespace {

constexpr size_t kFramePayload = 1500;
constexpr size_t kKeptRequestHead = 4096;

int ConnectTo(const std::string &address, uint16_t port) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) return -1;
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to) != 0) {
    close(fd);
    return -1;
  }
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

// Whether the payload starts with a ZLtp request header of the opcode (first byte, then 00 00 00).
bool IsRequest(const uint8_t *p, size_t length, uint8_t opcode) {
  return length >= 12 && p[0] == 0 && p[1] == 0 && p[2] == 0x10 && p[3] == 0 && p[8] == opcode && p[9] == 0 &&
         p[10] == 0 && p[11] == 0;
}
// The version offer opens every ZLtp link; the close request ends it.
constexpr uint8_t kVersionOffer = 0x31;
constexpr uint8_t kCloseRequest = 0x37;

}  // namespace

using namespace vserver;

struct CameraChannels::Engine {
  int fds[2] = {-1, -1};  // control, data
  bool announced = false;  // the PC has announced this link's data connection
  bool requestsSeen = false;
  bool lastWasOffer = false;
  std::atomic<bool> closeRequested{false};  // then the camera's closing is expected
  std::atomic<bool> retired{false};
  ~Engine() {
    for (int fd : fds)
      if (fd >= 0) close(fd);
  }
};

CameraChannels::CameraChannels(const SerialOptions &options) : options_(options) {}

CameraChannels::~CameraChannels() { Finish(); }

void CameraChannels::Log(const std::string &text) {
  if (options_.verbose) std::fprintf(stderr, "camsim serial: %s\n", text.c_str());
}

void CameraChannels::OnPayload(uint16_t type, const uint8_t *payload, size_t length) {
  switch (type) {
    case channel::kHttp:
      OnHttp(payload, length);
      break;
    case channel::kZltpControl:
    case channel::kZltpData:
      ToEngine(type == channel::kZltpData, payload, length);
      break;
    case channel::kZltpDataAnnounce: {
      std::lock_guard<std::mutex> lock(mutex_);
      if (engine_ && !engine_->announced) {
        // The link was opened by control bytes that overtook the announcement.
        engine_->announced = true;
      } else {
        RetireEngine();
        CurrentEngine(true);
      }
      break;
    }
    default:
      break;
  }
}

void CameraChannels::ToEngine(bool data, const uint8_t *payload, size_t length) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (length == 0) {
    // The PC gave up on the connection.
    Log("empty frame from the PC: ZLtp link closed");
    RetireEngine();
    return;
  }
  const bool offer = !data && IsRequest(payload, length, kVersionOffer);
  // The offer of a new link can overtake the announcement of its data
  // connection; a repeated offer (version 1 after 2) belongs to the same link.
  if (offer && engine_ && engine_->requestsSeen && !engine_->lastWasOffer) RetireEngine();
  Engine *engine = CurrentEngine(false);
  if (engine && !data) {
    engine->requestsSeen = true;
    engine->lastWasOffer = offer;
    if (IsRequest(payload, length, kCloseRequest)) engine->closeRequested = true;
  }
  if (!engine || !WriteAll(engine->fds[data ? 1 : 0], payload, length)) Log("ZLtp camera unreachable");
}

// The current ZLtp link, opened on demand. Called under mutex_.
CameraChannels::Engine *CameraChannels::CurrentEngine(bool announced) {
  if (engine_) return engine_.get();
  auto engine = std::make_shared<Engine>();
  engine->fds[0] = ConnectTo(options_.cameraAddress, options_.controlPort);
  engine->fds[1] = engine->fds[0] >= 0 ? ConnectTo(options_.cameraAddress, options_.dataPort) : -1;
  if (engine->fds[1] < 0) {
    Log("cannot reach the ZLtp camera at " + options_.cameraAddress);
    if (link_) {
      Spawn([this] {
        link_->Send(channel::kZltpControl, nullptr, 0);
        link_->Send(channel::kZltpData, nullptr, 0);
      });
    }
    return nullptr;
  }
  engine->announced = announced;
  engine_ = engine;
  Log("ZLtp link opened");
  Spawn([this, engine] { Pump(*engine, false); });
  Spawn([this, engine] { Pump(*engine, true); });
  return engine_.get();
}

// Ends the current ZLtp link; its pumps end without sending anything more.
void CameraChannels::RetireEngine() {
  if (!engine_) return;
  engine_->retired = true;
  for (int fd : engine_->fds)
    if (fd >= 0) shutdown(fd, SHUT_RDWR);
  retired_.push_back(engine_);
  engine_.reset();
  Prune();
}

// Carries what the ZLtp camera sends on one connection to the PC.
void CameraChannels::Pump(Engine &engine, bool data) {
  const uint16_t type = data ? channel::kZltpData : channel::kZltpControl;
  uint8_t buffer[kFramePayload];
  for (;;) {
    const ssize_t got = recv(engine.fds[data ? 1 : 0], buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) continue;
    if (engine.retired) return;
    if (got <= 0) break;
    if (!link_->Send(type, buffer, static_cast<size_t>(got))) return;
  }
  // The ZLtp camera closed the connection unasked: so does the PC's client.
  // After a close request the PC closes its side itself; an empty frame sent
  // now could reach the PC's next connection of the same type.
  if (!engine.closeRequested) link_->Send(type, nullptr, 0);
  std::lock_guard<std::mutex> lock(mutex_);
  if (engine_.get() == &engine) RetireEngine();
}

void CameraChannels::OnHttp(const uint8_t *payload, size_t length) {
  if (length == 0) {
    request_.Reset();
    requestHead_.clear();
    bodySum_ = 0;
    return;
  }
  const uint64_t before = request_.Received();
  request_.Feed(payload, length);
  for (size_t i = 0; i < length; ++i) {
    if (requestHead_.size() < kKeptRequestHead) requestHead_.push_back(static_cast<char>(payload[i]));
    if (request_.HeaderComplete() && before + i >= request_.HeaderBytes()) bodySum_ += payload[i];
  }
  if (!request_.RequestComplete()) return;
  std::string response = StatusPage();
  request_.Reset();
  requestHead_.clear();
  bodySum_ = 0;
  std::lock_guard<std::mutex> lock(mutex_);
  Prune();
  Spawn([this, response] {
    for (size_t offset = 0; offset < response.size(); offset += kFramePayload) {
      const size_t piece = std::min(kFramePayload, response.size() - offset);
      if (!link_->Send(channel::kHttp, reinterpret_cast<const uint8_t *>(response.data()) + offset, piece)) {
        Log("http response cut off after " + std::to_string(offset) + " bytes");
        return;
      }
    }
    if (link_->Send(channel::kHttp, nullptr, 0)) Log("http response of " + std::to_string(response.size()) + " bytes sent");
  });
}

// The camera's status page: what it received of the request. A request for
// "/pad/N" gets a page of at least N bytes.
std::string CameraChannels::StatusPage() {
  ++requests_;
  const std::string requestLine = requestHead_.substr(0, requestHead_.find_first_of("\r\n"));
  size_t padding = 0;
  const size_t pad = requestLine.find(" /pad/");
  if (pad != std::string::npos) padding = std::strtoul(requestLine.c_str() + pad + 6, nullptr, 10);
  if (padding > 1000000) padding = 1000000;
  char facts[256];
  std::snprintf(facts, sizeof facts,
                "<p>Request %u: header %llu bytes, body %llu bytes, body sum %u</p>\n", requests_,
                static_cast<unsigned long long>(request_.HeaderBytes()),
                static_cast<unsigned long long>(request_.ContentLength()), bodySum_);
  std::string body = "<html><head><title>Lumo camera</title></head><body>\n<h1>Lumo camera status</h1>\n<p>" +
                     requestLine + "</p>\n" + facts + "<p>Line " + std::to_string(options_.speed) + " bit/s, " +
                     (link_ && link_->Ackflow() ? "ackflow" : "plain") + " mode</p>\n";
  if (body.size() < padding) body += std::string(padding - body.size(), '.');
  body += "</body></html>\n";
  return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

// Runs work on a thread of its own. Called under mutex_.
void CameraChannels::Spawn(std::function<void()> work) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  workers_.push_back({std::thread([work, done] {
                        work();
                        *done = true;
                      }),
                      done});
}

// Joins the threads that have ended. Called under mutex_.
void CameraChannels::Prune() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (*it->done) {
      it->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
  for (auto it = retired_.begin(); it != retired_.end();) {
    if (it->use_count() == 1)
      it = retired_.erase(it);
    else
      ++it;
  }
}

void CameraChannels::Finish() {
  std::vector<Worker> workers;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    RetireEngine();
    workers.swap(workers_);
  }
  for (Worker &worker : workers) worker.thread.join();
  std::lock_guard<std::mutex> lock(mutex_);
  retired_.clear();
}

}  // namespace camsim_serial
