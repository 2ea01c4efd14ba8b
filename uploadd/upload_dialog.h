// The window "Lumo Direct upload": the settings, Apply, Start, Quit, Hide,
// the connection list and the notification-area icon.
#pragma once

#include <memory>

#include "connection_list_box.h"
#include "dialog.h"
#include "notify_icon.h"
#include "profile.h"
#include "rolling_log.h"
#include "server_settings.h"
#include "upload_server.h"

class CUploadDialog : public winfx::CDialog {
 public:
  CUploadDialog(ServerSettings &settings, const winfx::CProfile &profile);

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int notifyCode) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

 private:
  bool Apply();
  void Start();
  void Quit();
  void StopServer();

  ServerSettings &settings_;
  const winfx::CProfile &profile_;
  std::string startFolder_;  // the working directory at start-up, before any upload moved it
  ConnectionListBox connections_;
  NotifyIcon notifyIcon_;
  // The server writes to the log, so it is declared after it and goes first.
  std::unique_ptr<RollingLog> log_;
  std::unique_ptr<UploadServer> server_;
};
