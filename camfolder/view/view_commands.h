// What the view background's menu asks of the folder view it belongs to.
#pragma once

#include <windows.h>

namespace camfolder {

class ViewCommands {
 public:
  // FOLDERVIEWMODE: 1 large icons, 2 small icons, 3 list, 4 details.
  virtual UINT ViewMode() const = 0;
  virtual void SetViewMode(UINT mode) = 0;
  virtual void LineUp() = 0;
  // Sorts ascending by column 0 to 3 (name, size, type, date).
  virtual void SortBy(int column) = 0;

 protected:
  ~ViewCommands() = default;
};

}  // namespace camfolder
