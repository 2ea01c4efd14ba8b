#include "camera_error.h"

#include "camera_messages.h"
#include "module_strings.h"
#include "resource_ids.h"

namespace camfolder {

int ShowCameraError(HWND owner, uint32_t result) {
  const CameraMessage message = MessageForResult(result);
  if (message.message == 0) return message.returned;
  constexpr size_t kTextBuffer = 2048;
  const auto text = LoadModuleString(static_cast<unsigned>(message.message), kTextBuffer);
  if (!text) return -1;
  const std::string caption = ModuleStringOr(IDS_ERROR_CAPTION, "Lumo");
  const UINT icon = message.icon == MessageIcon::kError ? MB_ICONERROR : MB_ICONEXCLAMATION;
  MessageBoxA(owner, text->c_str(), caption.c_str(), MB_OK | icon);
  return message.message;
}

}  // namespace camfolder
