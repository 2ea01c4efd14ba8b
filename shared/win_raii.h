// Owning wrappers for Win32 resources: each closes its resource exactly once,
// on every path. One template, one small traits struct per kind of resource.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <objbase.h>
#include <wrl/client.h>

#include <cstdint>
#include <utility>

// COM interface pointers: released once when the holder goes.
using Microsoft::WRL::ComPtr;

// Takes over the reference of a new object. (mingw's ComPtr::Attach adds a
// reference of its own, unlike the platform's, so it is not used for this.)
template <typename T>
ComPtr<T> AdoptCom(T *object) noexcept {
  ComPtr<T> holder;
  *holder.GetAddressOf() = object;
  return holder;
}

template <typename Traits>
class unique_any {
 public:
  using type = typename Traits::type;
  unique_any() noexcept : value_(Traits::invalid()) {}
  explicit unique_any(type value) noexcept : value_(value) {}
  unique_any(unique_any &&other) noexcept : value_(other.release()) {}
  unique_any &operator=(unique_any &&other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  unique_any(const unique_any &) = delete;
  unique_any &operator=(const unique_any &) = delete;
  ~unique_any() { reset(); }

  type get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::invalid(); }
  type release() noexcept { return std::exchange(value_, Traits::invalid()); }
  void reset(type value = Traits::invalid()) noexcept {
    if (value_ != Traits::invalid()) Traits::close(value_);
    value_ = value;
  }
  // For APIs that return the resource through an out-parameter.
  type *put() noexcept {
    reset();
    return &value_;
  }

 private:
  type value_;
};

struct handle_traits {
  using type = HANDLE;
  static type invalid() { return nullptr; }
  static void close(type h) { CloseHandle(h); }
};
struct file_handle_traits {
  using type = HANDLE;
  static type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(type h) { CloseHandle(h); }
};
struct find_handle_traits {
  using type = HANDLE;
  static type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(type h) { FindClose(h); }
};
struct view_traits {
  using type = void *;
  static type invalid() { return nullptr; }
  static void close(type v) { UnmapViewOfFile(v); }
};
struct hglobal_traits {
  using type = HGLOBAL;
  static type invalid() { return nullptr; }
  static void close(type h) { GlobalFree(h); }
};
struct hkey_traits {
  using type = HKEY;
  static type invalid() { return nullptr; }
  static void close(type k) { RegCloseKey(k); }
};
struct socket_traits {
  using type = SOCKET;
  static type invalid() { return INVALID_SOCKET; }
  static void close(type s) { closesocket(s); }
};

struct cotaskmem_traits {
  using type = void *;
  static type invalid() { return nullptr; }
  static void close(type p) { CoTaskMemFree(p); }
};
struct module_traits {
  using type = HMODULE;
  static type invalid() { return nullptr; }
  static void close(type m) { FreeLibrary(m); }
};
struct icon_traits {
  using type = HICON;
  static type invalid() { return nullptr; }
  static void close(type i) { DestroyIcon(i); }
};
struct window_traits {
  using type = HWND;
  static type invalid() { return nullptr; }
  static void close(type w) { DestroyWindow(w); }
};

using unique_handle = unique_any<handle_traits>;
using unique_file = unique_any<file_handle_traits>;
using unique_find = unique_any<find_handle_traits>;
using unique_view = unique_any<view_traits>;
using unique_hglobal = unique_any<hglobal_traits>;
using unique_hkey = unique_any<hkey_traits>;
using unique_socket = unique_any<socket_traits>;
using unique_cotaskmem = unique_any<cotaskmem_traits>;  // shell item lists and other task memory
using unique_module = unique_any<module_traits>;
using unique_hicon = unique_any<icon_traits>;
using unique_hwnd = unique_any<window_traits>;

// Holds a global-memory block locked for the lifetime of the object.
class global_lock {
 public:
  explicit global_lock(HGLOBAL memory) noexcept
      : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
  ~global_lock() {
    if (data_) GlobalUnlock(memory_);
  }
  global_lock(const global_lock &) = delete;
  global_lock &operator=(const global_lock &) = delete;
  void *get() const noexcept { return data_; }
  explicit operator bool() const noexcept { return data_ != nullptr; }

 private:
  HGLOBAL memory_;
  void *data_;
};

// A critical section, made and deleted with the object.
class critical_section {
 public:
  critical_section() noexcept { InitializeCriticalSection(&section_); }
  ~critical_section() { DeleteCriticalSection(&section_); }
  critical_section(const critical_section &) = delete;
  critical_section &operator=(const critical_section &) = delete;
  CRITICAL_SECTION *get() noexcept { return &section_; }

 private:
  CRITICAL_SECTION section_;
};

// Holds a critical section for the lifetime of the object.
class section_lock {
 public:
  explicit section_lock(critical_section &section) noexcept : section_(section.get()) {
    EnterCriticalSection(section_);
  }
  ~section_lock() { LeaveCriticalSection(section_); }
  section_lock(const section_lock &) = delete;
  section_lock &operator=(const section_lock &) = delete;

 private:
  CRITICAL_SECTION *section_;
};

// Handles cross processes as 32-bit values; Windows sign-extends them.
inline HANDLE HandleFrom32(uint32_t value) { return LongToHandle(static_cast<LONG>(value)); }
inline uint32_t HandleTo32(HANDLE handle) { return static_cast<uint32_t>(HandleToLong(handle)); }
inline HWND WindowFrom32(uint32_t value) { return static_cast<HWND>(HandleFrom32(value)); }
inline uint32_t WindowTo32(HWND window) { return HandleTo32(window); }

// Window hooks, menus, GDI objects and shell item identifier lists.
#include <objbase.h>
#include <shtypes.h>

struct hook_traits {
  using type = HHOOK;
  static type invalid() { return nullptr; }
  static void close(type h) { UnhookWindowsHookEx(h); }
};
struct menu_traits {
  using type = HMENU;
  static type invalid() { return nullptr; }
  static void close(type m) { DestroyMenu(m); }
};
struct font_traits {
  using type = HFONT;
  static type invalid() { return nullptr; }
  static void close(type f) { DeleteObject(f); }
};
struct palette_traits {
  using type = HPALETTE;
  static type invalid() { return nullptr; }
  static void close(type p) { DeleteObject(p); }
};
struct bitmap_traits {
  using type = HBITMAP;
  static type invalid() { return nullptr; }
  static void close(type b) { DeleteObject(b); }
};
struct memory_dc_traits {
  using type = HDC;
  static type invalid() { return nullptr; }
  static void close(type dc) { DeleteDC(dc); }  // from CreateCompatibleDC
};
struct pidl_traits {
  using type = ITEMIDLIST *;
  static type invalid() { return nullptr; }
  static void close(type p) { CoTaskMemFree(p); }  // the shell allocator's memory
};

using unique_hhook = unique_any<hook_traits>;
using unique_hmenu = unique_any<menu_traits>;
using unique_hfont = unique_any<font_traits>;
using unique_hpalette = unique_any<palette_traits>;
using unique_hbitmap = unique_any<bitmap_traits>;
using unique_memory_dc = unique_any<memory_dc_traits>;
using unique_pidl = unique_any<pidl_traits>;

// Selects a GDI object into a device context and puts the previous one back.
class select_object {
 public:
  select_object(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~select_object() {
    if (previous_) SelectObject(dc_, previous_);
  }
  select_object(const select_object &) = delete;
  select_object &operator=(const select_object &) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Selects a palette into a device context and puts the previous one back.
class select_palette {
 public:
  select_palette(HDC dc, HPALETTE palette) noexcept
      : dc_(dc), previous_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {}
  ~select_palette() {
    if (previous_) SelectPalette(dc_, previous_, FALSE);
  }
  select_palette(const select_palette &) = delete;
  select_palette &operator=(const select_palette &) = delete;

 private:
  HDC dc_;
  HPALETTE previous_;
};

// Property sheet pages that were made but never handed to a sheet.
#include <prsht.h>
struct propsheetpage_traits {
  using type = HPROPSHEETPAGE;
  static type invalid() { return nullptr; }
  static void close(type p) { DestroyPropertySheetPage(p); }
};
using unique_propsheetpage = unique_any<propsheetpage_traits>;
