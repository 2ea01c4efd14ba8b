// The rules of moving files between the PC and the camera that need no
// Windows: which files a picture folder takes, how a drag's effect is
// chosen, when camera items may be dropped on a folder, and the user's
// answers that decide whether a transfer goes on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The user's last answer of a transfer, kept by the caller.
enum TransferAnswer : int {
  kAnswerStop = 0,
  kAnswerGoOn = 1,     // set by the caller before a send
  kAnswerCancel = 2,
  kAnswerYes = 6,
  kAnswerNo = 7,
  kAnswerAll = 11000,  // replace this and every later file of the drop
};

// What a send tells the camera about a file of the same name.
constexpr uint32_t kRefuseExisting = 4;
constexpr uint32_t kReplaceExisting = 1;

// The file types a camera's picture folders hold: JPG, TIF, BMP, LRF, WAV,
// AVI, LST, TXT, by the text after the last "." (any case).
bool IsKnownCameraFileType(std::string_view name);

// After a copy inside the camera: a cancel stops the drop, any other answer
// goes on.
int NormalisedCopyAnswer(int answer);

// The drop effects and key bits of the platform.
constexpr uint32_t kEffectCopy = 1;
constexpr uint32_t kEffectMove = 2;
constexpr uint32_t kEffectScroll = 0x80000000u;
constexpr uint32_t kKeyShift = 0x04;
constexpr uint32_t kKeyControl = 0x08;

// The effect of a drag over a folder that is not over one of its items:
// Shift asks for a move (when moves are allowed and Control is not held too),
// Control alone for a copy, otherwise the default; never more than allowed.
uint32_t ChooseDropEffect(bool droppable, uint32_t keyState, bool moveAllowed, uint32_t defaultEffect,
                          uint32_t allowed);

// Camera items with these paths dropped on the camera folder `target`:
// refused (0) when the target is any of them, the folder holding any of them,
// or lies anywhere inside a source folder (a move would erase its own copy);
// otherwise a move when the first is on the target's drive, else a copy.
uint32_t CameraDropDefault(const std::vector<std::string> &sources, std::string_view target);
