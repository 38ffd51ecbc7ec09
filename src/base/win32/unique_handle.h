#pragma once
// One move-only owner for every kind of Win32 handle, and a guard that puts
// the previous object back into a device context.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace orvalet::win32 {

// Owns a handle of type T and releases it with Close; a null handle is empty.
template <typename T, auto Close>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    T get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != T{}; }

    T release() noexcept { return std::exchange(handle_, T{}); }
    void reset(T handle = T{}) noexcept {
        const T old = std::exchange(handle_, handle);
        if (old != T{}) Close(old);
    }

    // For APIs that return a handle through an out parameter.
    T* put() noexcept {
        reset();
        return &handle_;
    }

private:
    T handle_{};
};

namespace detail {
inline void DeleteGdiObject(HGDIOBJ object) noexcept { ::DeleteObject(object); }
// Waits for a callback that is running, so none outlives its owner.
inline void DeleteTimerQueueTimerAndWait(HANDLE timer) noexcept {
    ::DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
}
}  // namespace detail

using UniqueIcon = UniqueHandle<HICON, &::DestroyIcon>;
using UniqueBitmap = UniqueHandle<HBITMAP, &detail::DeleteGdiObject>;
using UniqueFont = UniqueHandle<HFONT, &detail::DeleteGdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &detail::DeleteGdiObject>;
using UniquePen = UniqueHandle<HPEN, &detail::DeleteGdiObject>;
using UniqueMemoryDC = UniqueHandle<HDC, &::DeleteDC>;
using UniqueKey = UniqueHandle<HKEY, &::RegCloseKey>;
using UniqueMenu = UniqueHandle<HMENU, &::DestroyMenu>;
using UniqueWindow = UniqueHandle<HWND, &::DestroyWindow>;
using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle>;
using UniqueImageList = UniqueHandle<HIMAGELIST, &::ImageList_Destroy>;
using UniqueHook = UniqueHandle<HHOOK, &::UnhookWindowsHookEx>;
using UniqueTimerQueueTimer = UniqueHandle<HANDLE, &detail::DeleteTimerQueueTimerAndWait>;

// A DC obtained with GetDC, released to its window.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) { ::BeginPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    HDC dc() const noexcept { return paint_.hdc; }
    const RECT& area() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// Selects an object into a DC and selects the previous one back on
// destruction, so an owned object is never deleted while still selected.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectionGuard(SelectionGuard&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
    SelectionGuard& operator=(SelectionGuard&&) = delete;
    SelectionGuard(const SelectionGuard&) = delete;
    ~SelectionGuard() {
        if (dc_ && previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

[[nodiscard]] inline SelectionGuard Select(HDC dc, HGDIOBJ object) noexcept { return {dc, object}; }

}  // namespace orvalet::win32
