#include "core/transfer_rules.h"

#include "core/camera_path.h"

namespace {

constexpr std::string_view kKnownTypes[] = {"JPG", "TIF", "BMP", "LRF", "WAV", "AVI", "LST", "TXT"};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameCameraText(text.substr(0, prefix.size()), prefix);
}

}  // namespace

bool IsKnownCameraFileType(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view type = name.substr(dot + 1);
  for (const std::string_view known : kKnownTypes)
    if (SameCameraText(type, known)) return true;
  return false;
}

int NormalisedCopyAnswer(int answer) {
  if (answer == kAnswerCancel) return kAnswerStop;
  if (answer == kAnswerYes || answer == kAnswerNo || answer == kAnswerAll) return kAnswerGoOn;
  return answer;
}

uint32_t ChooseDropEffect(bool droppable, uint32_t keyState, bool moveAllowed, uint32_t defaultEffect,
                          uint32_t allowed) {
  if (!droppable) return 0;
  uint32_t effect;
  if (keyState & kKeyShift)
    effect = moveAllowed && !(keyState & kKeyControl) ? kEffectMove : 0;
  else if (keyState & kKeyControl)
    effect = kEffectCopy;
  else
    effect = defaultEffect;
  return effect & allowed;
}

uint32_t CameraDropDefault(const std::vector<std::string> &sources, std::string_view target) {
  if (sources.empty() || target.empty()) return 0;
  for (const std::string &source : sources) {
    if (source.empty()) return 0;
    if (SameCameraText(target, source) || SameCameraText(target, ParentPath(source))) return 0;
    if (source.back() == '/' && StartsWithNoCase(target, source)) return 0;
  }
  return sources.front().front() == target.front() ? kEffectMove : kEffectCopy;
}
