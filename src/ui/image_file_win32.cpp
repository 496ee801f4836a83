#include "ui/image_file_win32.h"

#include <wincodec.h>

#include <cstring>
#include <vector>

#include "platform/files.h"

namespace {

using TCoInitializeEx = HRESULT(WINAPI*)(void*, DWORD);
using TCoCreateInstance = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

// COM and the imaging component, loaded when a picture is first saved: the
// program starts without them.
struct TCom {
  TCoCreateInstance CreateInstance = nullptr;
  TCom() {
    HMODULE ole = LoadLibraryA("ole32.dll");
    if (!ole) return;
    const auto initialize = reinterpret_cast<TCoInitializeEx>(
        reinterpret_cast<void*>(GetProcAddress(ole, "CoInitializeEx")));
    CreateInstance = reinterpret_cast<TCoCreateInstance>(
        reinterpret_cast<void*>(GetProcAddress(ole, "CoCreateInstance")));
    if (initialize) initialize(nullptr, COINIT_APARTMENTTHREADED);
  }
};

// Releases a COM object when it goes.
template <class T>
struct TComPtr {
  T* Object = nullptr;
  ~TComPtr() {
    if (Object) Object->Release();
  }
  T* operator->() const { return Object; }
  T** operator&() { return &Object; }
};

// A new imaging factory; an empty one where there is none.
TComPtr<IWICImagingFactory> ImagingFactory() {
  static const TCom com;
  TComPtr<IWICImagingFactory> factory;
  if (com.CreateInstance)
    com.CreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                       IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
  return factory;
}

std::wstring Wide(const std::string& text) {
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

// A 24-bit device-independent bitmap: its header, and its rows bottom up,
// as every reader of BMP files and of the clipboard takes them.
struct TDib {
  BITMAPINFOHEADER Header{};
  std::vector<uint8_t> Rows;
};

TDib BottomUp(const TPixels& pixels) {
  TDib dib;
  dib.Header.biSize = sizeof dib.Header;
  dib.Header.biWidth = pixels.Width;
  dib.Header.biHeight = pixels.Height;
  dib.Header.biPlanes = 1;
  dib.Header.biBitCount = 24;
  dib.Header.biCompression = BI_RGB;
  dib.Header.biSizeImage = static_cast<DWORD>(pixels.Stride * pixels.Height);
  dib.Rows.resize(dib.Header.biSizeImage);
  for (int y = 0; y < pixels.Height; ++y)
    std::memcpy(dib.Rows.data() + static_cast<size_t>(pixels.Height - 1 - y) * pixels.Stride,
                pixels.At(0, y), static_cast<size_t>(pixels.Stride));
  return dib;
}

}  // namespace

bool CanWritePng() {
  TComPtr<IWICImagingFactory> factory = ImagingFactory();
  if (!factory.Object) return false;
  TComPtr<IWICBitmapEncoder> encoder;
  return SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder));
}

bool WritePng(const std::string& path, const TPixels& pixels) {
  TComPtr<IWICImagingFactory> factory = ImagingFactory();
  if (!factory.Object) return false;
  TComPtr<IWICStream> stream;
  TComPtr<IWICBitmapEncoder> encoder;
  TComPtr<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  const UINT size = static_cast<UINT>(pixels.Stride * pixels.Height);
  return SUCCEEDED(factory->CreateStream(&stream)) &&
         SUCCEEDED(stream->InitializeFromFilename(Wide(path).c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
         SUCCEEDED(encoder->Initialize(stream.Object, WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
         SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(
             frame->SetSize(static_cast<UINT>(pixels.Width), static_cast<UINT>(pixels.Height))) &&
         SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(pixels.Height),
                                      static_cast<UINT>(pixels.Stride), size, pixels.Bits)) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

bool WriteBmp(const std::string& path, const TPixels& pixels) {
  const TDib dib = BottomUp(pixels);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof dib.Header;
  file.bfSize = file.bfOffBits + dib.Header.biSizeImage;
  std::optional<TFile> out = TFile::CreateAlways(path);
  if (!out) return false;
  try {
    out->Write(&file, sizeof file);
    out->Write(&dib.Header, sizeof dib.Header);
    out->Write(dib.Rows.data(), dib.Rows.size());
    return true;
  } catch (const EFileError&) {
    return false;
  }
}

bool CopyPixelsToClipboard(HWND owner, const TPixels& pixels) {
  const TDib dib = BottomUp(pixels);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof dib.Header + dib.Rows.size());
  if (!memory) return false;
  auto* bytes = static_cast<uint8_t*>(GlobalLock(memory));
  std::memcpy(bytes, &dib.Header, sizeof dib.Header);
  std::memcpy(bytes + sizeof dib.Header, dib.Rows.data(), dib.Rows.size());
  GlobalUnlock(memory);
  if (OpenClipboard(owner)) {
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_DIB, memory) != nullptr;
    CloseClipboard();
    if (placed) return true;
  }
  GlobalFree(memory);
  return false;
}
