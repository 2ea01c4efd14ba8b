// What the by-hand benchmarks of the camera folder share: a card folder of
// numbered small pictures, checked whole after each copy, and a stopwatch.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "shell_fixture.h"
#include "unix_paths.h"

constexpr size_t kPictureSize = 4000;

inline double Seconds(const std::function<void()> &work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The name of picture i (from 1).
inline std::string Name(unsigned i) {
  char name[16];
  std::snprintf(name, sizeof name, "R%07u.JPG", i);
  return name;
}

// Whether the folder holds pictures 1 to count, each whole.
inline bool Whole(const std::string &windowsFolder, unsigned count) {
  for (unsigned i = 1; i <= count; ++i)
    if (ReadFileBytes(windowsFolder + "\\" + Name(i)) != Pattern(kPictureSize, i)) return false;
  return true;
}
