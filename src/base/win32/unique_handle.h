#pragma once
// One move-only owner for every kind of Win32 handle, and a guard that puts
// the previous object back into a device context.
#include <windows.h>

#include <atomic>
#include <utility>

namespace orvalet::win32 {

// Owns a handle of type T and releases it with Close; a null handle is empty.
// Each kind counts the handles its owners hold, process-wide, so a leak shows
// even where the system keeps no object counts (Wine's GetGuiResources reads 0).
template <typename T, auto Close>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T handle) noexcept : handle_(handle) { Adopted(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, T{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, T{});
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    T get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != T{}; }

    T release() noexcept {
        if (handle_ != T{}) live_.fetch_sub(1, std::memory_order_relaxed);
        return std::exchange(handle_, T{});
    }
    void reset(T handle = T{}) noexcept {
        const T old = std::exchange(handle_, handle);
        Adopted();
        if (old == T{}) return;
        live_.fetch_sub(1, std::memory_order_relaxed);
        Close(old);
    }

    // For APIs that return a handle through an out parameter; what the call
    // leaves there is owned once it has returned.
    class OutParameter {
    public:
        explicit OutParameter(UniqueHandle& owner) noexcept : owner_(owner) {}
        OutParameter(const OutParameter&) = delete;
        OutParameter& operator=(const OutParameter&) = delete;
        ~OutParameter() { owner_.Adopted(); }
        operator T*() const noexcept { return &owner_.handle_; }

    private:
        UniqueHandle& owner_;
    };
    [[nodiscard]] OutParameter put() noexcept {
        reset();
        return OutParameter(*this);
    }

    // Handles of this kind held by owners now, in the whole process.
    static long LiveCount() noexcept { return live_.load(std::memory_order_relaxed); }

private:
    void Adopted() noexcept {
        if (handle_ != T{}) live_.fetch_add(1, std::memory_order_relaxed);
    }

    T handle_{};
    static inline std::atomic<long> live_{0};
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
using UniqueHook = UniqueHandle<HHOOK, &::UnhookWindowsHookEx>;
using UniqueTimerQueueTimer = UniqueHandle<HANDLE, &detail::DeleteTimerQueueTimerAndWait>;

// A DC obtained with GetDC, released to its window.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {
        if (dc_) live_.fetch_add(1, std::memory_order_relaxed);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (!dc_) return;
        ::ReleaseDC(window_, dc_);
        live_.fetch_sub(1, std::memory_order_relaxed);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

    // Window DCs held now, in the whole process.
    static long LiveCount() noexcept { return live_.load(std::memory_order_relaxed); }

private:
    HWND window_;
    HDC dc_;
    static inline std::atomic<long> live_{0};
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
