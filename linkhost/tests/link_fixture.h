// A camera link connected to a freshly started simulator.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "camera_link.h"
#include "camsim_process.h"

class LinkTest : public ::testing::Test {
 protected:
  // Starts camsim with the arguments (and -v, logging into its run folder).
  void StartCamsim(const std::vector<std::string> &arguments = {}) {
    std::string error;
    std::vector<std::string> all = arguments;
    all.push_back("-v");
    ASSERT_TRUE(camsim_.Start(CamsimProcess::NextAddress(), all, error)) << error;
  }
  // Starts camsim and opens the link; model and version are kept.
  void Open(const std::vector<std::string> &arguments = {}) {
    StartCamsim(arguments);
    ASSERT_EQ(link_.OpenCamera(Address(), model_, version_), 0u);
  }
  CameraLink::Text Address() { return CameraLink::Text(camsim_.Address().c_str(), camsim_.Address().size() + 1); }
  static CameraLink::Text T(const std::string &text) { return CameraLink::Text(text.c_str(), text.size() + 1); }
  void TearDown() override {
    link_.Connection().Disconnect();
    camsim_.Stop();
  }

  CamsimProcess camsim_;
  CameraLink link_;
  uint32_t model_ = 0;
  uint32_t version_ = 0;
};
