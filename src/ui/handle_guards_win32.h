#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

// Owners for the handles the program creates (GDI objects, icons, image
// lists, accelerator tables, kernel objects) and for GDI selections, so that
// nothing leaks or stays selected on an early return or an exception.

// A handle freed with Free when its owner goes; move-only.
template <class THandle, auto Free>
class TOwned {
 public:
  TOwned() = default;
  explicit TOwned(THandle handle) : FHandle(handle) {}
  ~TOwned() { Reset(); }
  TOwned(TOwned&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TOwned& operator=(TOwned&& other) noexcept {
    std::swap(FHandle, other.FHandle);
    return *this;
  }
  THandle Get() const { return FHandle; }
  // Frees what is held and takes handle instead.
  void Reset(THandle handle = nullptr) {
    if (FHandle) Free(FHandle);
    FHandle = handle;
  }

 private:
  THandle FHandle = nullptr;
};

// A pen, brush, bitmap or font.
template <class THandle>
using TGdiObject = TOwned<THandle, DeleteObject>;
using TOwnedIcon = TOwned<HICON, DestroyIcon>;
using TOwnedImageList = TOwned<HIMAGELIST, ImageList_Destroy>;
using TOwnedAccelerators = TOwned<HACCEL, DestroyAcceleratorTable>;
using TOwnedMenu = TOwned<HMENU, DestroyMenu>;
// A mutex, event, thread or file.
using TOwnedKernelHandle = TOwned<HANDLE, CloseHandle>;

// An object selected into a device context until the guard goes.
class TSelection {
 public:
  TSelection() = default;
  TSelection(HDC dc, HGDIOBJ object) : FDc(dc), FOld(SelectObject(dc, object)) {}
  ~TSelection() { Restore(); }
  TSelection(TSelection&& other) noexcept
      : FDc(std::exchange(other.FDc, nullptr)), FOld(other.FOld) {}
  TSelection& operator=(TSelection&& other) noexcept {
    Restore();
    FDc = std::exchange(other.FDc, nullptr);
    FOld = other.FOld;
    return *this;
  }

 private:
  void Restore() {
    if (FDc) SelectObject(FDc, FOld);
    FDc = nullptr;
  }
  HDC FDc = nullptr;
  HGDIOBJ FOld = nullptr;
};

// A memory device context compatible with the screen.
class TMemoryDC {
 public:
  TMemoryDC() : FDc(CreateCompatibleDC(nullptr)) {}
  ~TMemoryDC() { DeleteDC(FDc); }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return FDc; }

 private:
  HDC FDc;
};

// BeginPaint ... EndPaint.
class TPaintDC {
 public:
  explicit TPaintDC(HWND window) : FWindow(window) { BeginPaint(window, &FPaint); }
  ~TPaintDC() { EndPaint(FWindow, &FPaint); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return FPaint.hdc; }
  const RECT& Area() const { return FPaint.rcPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
};

// GetDC ... ReleaseDC; the screen's for nullptr.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window) : FWindow(window), FDc(GetDC(window)) {}
  ~TWindowDC() { ReleaseDC(FWindow, FDc); }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return FDc; }

 private:
  HWND FWindow;
  HDC FDc;
};
