// CCameraDropTarget: a camera folder taking drops (IDropTarget) — PC files
// sent into it, camera items copied or moved into it through the working
// folder. Over a folder view it scrolls the list and passes the drag on to
// the folder item under the cursor.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "items/module_state.h"
#include "win_raii.h"

namespace camfolder {

class CCameraDropTarget final : public IDropTarget {
 public:
  // target: the camera folder path (ending in "/"); folder: its shell folder
  // (for the items of a view's list, which may be none); owner: the window
  // of messages and of the refresh.
  static HRESULT Create(const std::string &target, IShellFolder *folder, HWND owner, HWND list, REFIID interfaceId,
                        void **object);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDropTarget
  STDMETHODIMP DragEnter(IDataObject *data, DWORD keyState, POINTL point, DWORD *effect) override;
  STDMETHODIMP DragOver(DWORD keyState, POINTL point, DWORD *effect) override;
  STDMETHODIMP DragLeave() override;
  STDMETHODIMP Drop(IDataObject *data, DWORD keyState, POINTL point, DWORD *effect) override;

 private:
  CCameraDropTarget() = default;
  ~CCameraDropTarget() = default;

  void Clear();
  DWORD Effect(DWORD keyState, POINTL point, DWORD allowed);
  DWORD AutoScroll(POINT client);
  // The drag passed on to the list item under the point; false when there is none.
  bool OverItem(DWORD keyState, POINTL point, DWORD allowed, DWORD &effect);
  void LeaveItem();
  DWORD AskRightDrop(POINTL point, DWORD effect);
  // Each takes the effect chosen and leaves the effect done: a move that
  // kept any source where it was reports a copy.
  HRESULT DropCameraItems(DWORD &effect);
  HRESULT DropFiles(DWORD &effect);

  LONG references_ = 1;
  ComPtr<IDataObject> data_;
  ComPtr<IDropTarget> inner_;  // the drop target of the list item under the cursor
  ComPtr<IShellFolder> folder_;
  std::string target_;
  int highlighted_ = -1;
  HWND list_ = nullptr;
  HWND owner_ = nullptr;
  DWORD keyState_ = 0;          // the buttons held at the start, while still held
  DWORD defaultEffect_ = DROPEFFECT_COPY;
  bool droppable_ = false;
  bool internal_ = false;       // the data holds camera items
  bool moveAllowed_ = false;
  UINT scrollInset_ = 11;
  UINT scrollDelay_ = 50;
  DWORD lastScroll_ = 0;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
