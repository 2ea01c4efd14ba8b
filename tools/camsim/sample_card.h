// The sample card the simulator serves when no drive folders are given: a
// temporary folder with drives 0 and 1, removed again when the card goes.
#pragma once

#include <string>

#include "serve_options.h"

class SampleCard {
 public:
  SampleCard() = default;
  SampleCard(const SampleCard &) = delete;
  SampleCard &operator=(const SampleCard &) = delete;
  ~SampleCard();

  // Creates the card and points drives 0 and 1 of the options at it.
  bool Create(ServeOptions &options, std::string &error);

 private:
  std::string root_;
};
