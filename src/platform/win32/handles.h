#pragma once
// RAII owners for every kind of Win32 handle the program uses. Nothing is
// released by hand: a destructor closes, deletes, releases or restores.

#include <windows.h>

#include <utility>

namespace vellumar::win32 {

// A move-only owner of one handle value with a close function.
template <typename T, typename Traits>
class UniqueResource {
  public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    ~UniqueResource() { Reset(); }
    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    T Get() const { return value_; }
    explicit operator bool() const { return Traits::IsValid(value_); }
    T Release() { return std::exchange(value_, Traits::Invalid()); }
    void Reset(T value = Traits::Invalid()) {
        if (Traits::IsValid(value_))
            Traits::Close(value_);
        value_ = value;
    }

  private:
    T value_ = Traits::Invalid();
};

struct KernelHandleTraits {  // processes, threads, mutexes, tokens, snapshots
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;

template <typename G>
struct GdiObjectTraits {
    static G Invalid() { return nullptr; }
    static bool IsValid(G h) { return h != nullptr; }
    static void Close(G h) { ::DeleteObject(h); }
};
template <typename G>
using GdiObject = UniqueResource<G, GdiObjectTraits<G>>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniquePen = GdiObject<HPEN>;
using UniqueFont = GdiObject<HFONT>;
using UniqueRegion = GdiObject<HRGN>;

struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static bool IsValid(HICON h) { return h != nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<HICON, IconTraits>;

struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static bool IsValid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};
using UniqueMemoryDc = UniqueResource<HDC, MemoryDcTraits>;

struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
using UniqueRegKey = UniqueResource<HKEY, RegKeyTraits>;

struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static bool IsValid(HMENU h) { return h != nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;

// GetDC / ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
  public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
    ~PaintDc() { ::EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// SelectObject, undone at scope end.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (previous_ && previous_ != HGDI_ERROR)
            ::SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC / RestoreDC: colours, modes, brush origin and clipping come back.
class ScopedDcState {
  public:
    explicit ScopedDcState(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
    ~ScopedDcState() {
        if (saved_)
            ::RestoreDC(dc_, saved_);
    }
    ScopedDcState(const ScopedDcState&) = delete;
    ScopedDcState& operator=(const ScopedDcState&) = delete;

  private:
    HDC dc_;
    int saved_;
};

}  // namespace vellumar::win32
