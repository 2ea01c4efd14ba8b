#include "image_select_dlg.h"

#include "list_text.h"
#include "resource.h"
#include "toolkit_message.h"
#include "windows_text.h"

CImageSelectDlg::CImageSelectDlg(std::vector<std::string> imagePaths, std::string cutTitle, std::string countText,
                                 UINT captionCodePage)
    : CDialog(IDD_IMAGE_SELECT),
      imagePaths_(std::move(imagePaths)),
      cutTitle_(std::move(cutTitle)),
      countText_(std::move(countText)),
      captionCodePage_(captionCodePage) {}

void CImageSelectDlg::SetCaption(int id, const std::string &text) {
  if (captionCodePage_ == CP_ACP) return SetItemText(id, text);
  std::wstring wide(text.size() + 1, L'\0');
  const int length = MultiByteToWideChar(captionCodePage_, 0, text.data(), int(text.size()), wide.data(),
                                         int(wide.size()));
  wide.resize(length > 0 ? size_t(length) : 0);
  SetDlgItemTextW(GetSafeHwnd(), id, wide.c_str());
}

BOOL CImageSelectDlg::OnInitDialog() {
  entries_.clear();
  entries_.reserve(imagePaths_.size());
  for (const std::string &path : imagePaths_) entries_.push_back({entries_.empty() ? 1 : 0, path, {}, false});
  grid_.SubclassDlgItem(IDC_THUMBNAIL_GRID, GetSafeHwnd());
  grid_.SetEntries(&entries_);
  SetCaption(IDC_CUT_TITLE_TEXT, ConvertCutTitle(cutTitle_, SystemTextLocale()));
  SetCaption(IDC_COUNT_TEXT, countText_);
  grid_.Layout();
  return TRUE;
}

BOOL CImageSelectDlg::PreTranslateMessage(MSG *message) {
  HWND dialog = GetSafeHwnd();
  if (message->message == WM_KEYDOWN && CThumbnailGrid::IsGridKey(UINT(message->wParam)) && dialog &&
      (message->hwnd == dialog || IsChild(dialog, message->hwnd))) {
    grid_.OnKeyDown(UINT(message->wParam));
    return TRUE;
  }
  return CDialog::PreTranslateMessage(message);
}

void CImageSelectDlg::OnCommand(int id, int notifyCode) {
  switch (id) {
    case IDOK:
      OnOK();
      break;
    case IDCANCEL:
      FreePictures();
      EndDialog(IDCANCEL);
      break;
    default:
      CDialog::OnCommand(id, notifyCode);
  }
}

void CImageSelectDlg::OnOK() {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!entries_[i].selected) continue;
    // Only an image whose thumbnail can be made can be chosen; one that
    // was never painted yet is tried now.
    if (!entries_[i].EnsureThumbnail()) break;
    FreePictures();
    chosenIndex_ = int(i);
    EndDialog(IDOK);
    return;
  }
  ShowToolkitMessage(GetSafeHwnd(), IDS_CANNOT_SELECT_IMAGE);
  GotoDlgCtrl(grid_.GetSafeHwnd());
}

void CImageSelectDlg::FreePictures() {
  for (ThumbnailEntry &entry : entries_) entry.picture.reset();
}
