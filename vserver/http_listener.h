// The HTTP port: each request travels to the camera's HTTP server over the
// serial link, and its response comes back, one connection at a time.
#pragma once

#include "link/http_request_scanner.h"
#include "listener.h"

namespace vserver {

class HttpListener : public Listener {
 public:
  explicit HttpListener(ServerParts &parts);

 private:
  void Serve(SOCKET client, const char *clientAddress) override;
  void Converse(ConnectionContext &context);
  bool Forward(ConnectionContext &context, int length) override;
  void RelayResponse(ConnectionContext &context);

  // Served one at a time, so one scanner serves every request.
  HttpRequestScanner request_;
};

}  // namespace vserver
