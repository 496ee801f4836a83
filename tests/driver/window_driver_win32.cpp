#include "driver/window_driver_win32.h"

#include <fstream>

namespace {

struct TSearch {
  const TWindowQuery* Query;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TSearch*>(param);
  const TWindowQuery& q = *search->Query;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if ((q.ProcessId == 0 || q.ProcessId == pid) &&
      (q.Title.empty() || WindowText(window) == q.Title) &&
      (q.ClassName.empty() || WindowClass(window) == q.ClassName))
    search->Found.push_back(window);
  return TRUE;
}

struct TChildSearch {
  std::string ClassName;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TChildSearch*>(param);
  // An empty class name takes every child.
  if (search->ClassName.empty() ||
      _stricmp(WindowClass(window).c_str(), search->ClassName.c_str()) == 0)
    search->Found.push_back(window);
  return TRUE;
}

std::vector<HWND> Children(HWND parent, const std::string& className) {
  TChildSearch search{className, {}};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// Asked in the wide form: across processes Wine hands the narrow form of an
// owner-drawn list's text over wide.
std::string ListItemText(HWND list, int index) {
  std::wstring wide(SendMessageW(list, LB_GETTEXTLEN, index, 0) + 1, L'\0');
  wide.resize(SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data())));
  std::string text(wide.size(), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                      static_cast<int>(text.size()), nullptr, nullptr);
  return text;
}

std::string WithoutAccessKey(std::string text) {
  for (size_t at; (at = text.find('&')) != std::string::npos;) text.erase(at, 1);
  return text;
}

}  // namespace

std::vector<HWND> FindTopWindows(const TWindowQuery& query) {
  TSearch search{&query, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND WaitForWindow(const TWindowQuery& query, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND window : FindTopWindows(query))
      if (IsWindowVisible(window)) return window;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(20);
  }
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(window)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

std::string WindowText(HWND window) {
  char buffer[1024];
  // WM_GETTEXT works across processes, unlike GetWindowText on controls.
  const LRESULT n =
      SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                          SMTO_ABORTIFHUNG, 2000, nullptr)
          ? static_cast<LRESULT>(strnlen(buffer, sizeof buffer))
          : 0;
  return std::string(buffer, static_cast<size_t>(n));
}

std::string WindowClass(HWND window) {
  char buffer[256];
  const int n = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string DialogText(HWND dialog) {
  std::string text;
  for (HWND label : Children(dialog, "Static")) {
    const std::string part = WindowText(label);
    if (part.empty()) continue;
    if (!text.empty()) text += '\n';
    text += part;
  }
  return text;
}

bool PressButton(HWND dialog, const std::string& caption) {
  for (HWND button : Children(dialog, "Button")) {
    if (WithoutAccessKey(WindowText(button)) != caption) continue;
    // The button's own parent hears of it: a tab page, or the dialog itself.
    const int id = GetDlgCtrlID(button);
    return PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button));
  }
  return false;
}

bool ChooseListItem(HWND window, const std::string& text) {
  for (HWND list : Children(window, "ListBox")) {
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      if (ListItemText(list, i).find(text) == std::string::npos) continue;
      SendMessageA(list, LB_SETCURSEL, i, 0);
      return PostMessageA(GetParent(list), WM_COMMAND,
                          MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(list));
    }
  }
  return false;
}

bool PressKey(HWND window, UINT virtualKey) {
  const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  return PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | scan << 16) &&
         PostMessageA(window, WM_KEYUP, virtualKey, 1 | scan << 16 | 3u << 30);
}

bool SendKeystrokes(std::initializer_list<TStroke> strokes) {
  std::vector<INPUT> inputs;
  const auto add = [&inputs](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (const TStroke& stroke : strokes) {
    for (WORD modifier : stroke.Held) add(modifier, false);
    add(stroke.Key, false);
    add(stroke.Key, true);
    for (WORD modifier : stroke.Held) add(modifier, true);
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool SendKeystroke(WORD virtualKey, std::initializer_list<WORD> held) {
  return SendKeystrokes({{virtualKey, held}});
}

bool TypeKey(HWND window, WORD virtualKey, std::initializer_list<WORD> held) {
  SetForegroundWindow(window);
  for (int i = 0; i < 50 && GetForegroundWindow() != window; ++i) Sleep(100);
  return GetForegroundWindow() == window && SendKeystroke(virtualKey, held);
}

HWND FindChild(HWND parent, const std::string& className) {
  const auto children = Children(parent, className);
  return children.empty() ? nullptr : children.front();
}

std::vector<HWND> FindChildren(HWND parent, const std::string& className) {
  return Children(parent, className);
}

HWND FindChildWithText(HWND parent, const std::string& text) {
  for (HWND child : Children(parent, ""))
    if (WithoutAccessKey(WindowText(child)) == text) return child;
  return nullptr;
}

bool SaveScreenshot(HWND window, const std::string& path) {
  RECT r;
  if (window) {
    if (!GetWindowRect(window, &r)) return false;
  } else {
    r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files store rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (width * 3 + 3) & ~3u;
  header.biSizeImage = stride * height;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  bool ok = false;
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory, old);
    if (ok) {
      BITMAPFILEHEADER file{};
      file.bfType = 0x4D42;
      file.bfOffBits = sizeof file + sizeof header;
      file.bfSize = file.bfOffBits + header.biSizeImage;
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(&file), sizeof file);
      out.write(reinterpret_cast<const char*>(&header), sizeof header);
      out.write(static_cast<const char*>(bits), header.biSizeImage);
      ok = static_cast<bool>(out);
    }
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}
