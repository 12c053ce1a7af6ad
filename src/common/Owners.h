// Small RAII owners for Windows handles, keys, GDI objects and COM pointers.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace orv {

// A value of type T that is closed by Close when the owner lets go of it, unless it
// equals the empty value. Move-only.
template <typename T, typename Traits>
class UniqueAny {
public:
    UniqueAny() noexcept : value_(Traits::Empty()) {}
    explicit UniqueAny(T value) noexcept : value_(value) {}
    ~UniqueAny() { reset(); }

    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    T get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::Empty(); }
    explicit operator bool() const noexcept { return valid(); }

    // Address for functions that hand out a new value; the old one is closed first.
    T* put() noexcept {
        reset();
        return &value_;
    }

    T release() noexcept {
        T v = value_;
        value_ = Traits::Empty();
        return v;
    }

    void reset(T value = Traits::Empty()) noexcept {
        if (value_ != Traits::Empty()) Traits::Close(value_);
        value_ = value;
    }

private:
    T value_;
};

// Traits: a close function and the value that means "nothing owned".
template <typename T, auto CloseFn, T EmptyValue>
struct HandleTraits {
    static T Empty() noexcept { return EmptyValue; }
    static void Close(T v) noexcept { CloseFn(v); }
};

struct FileHandleTraits {  // CreateFile and friends fail with INVALID_HANDLE_VALUE
    static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Empty() noexcept { return nullptr; }
    static void Close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};

using UniqueFile = UniqueAny<HANDLE, FileHandleTraits>;
using UniqueFind = UniqueAny<HANDLE, FindHandleTraits>;
// Threads, events and other kernel objects are empty at NULL.
using UniqueHandle = UniqueAny<HANDLE, HandleTraits<HANDLE, ::CloseHandle, nullptr>>;
using UniqueHKey = UniqueAny<HKEY, HandleTraits<HKEY, ::RegCloseKey, nullptr>>;
using UniqueModule = UniqueAny<HMODULE, HandleTraits<HMODULE, ::FreeLibrary, nullptr>>;
using UniqueHFont = UniqueAny<HFONT, HandleTraits<HFONT, ::DeleteObject, nullptr>>;
using UniqueHBrush = UniqueAny<HBRUSH, HandleTraits<HBRUSH, ::DeleteObject, nullptr>>;
using UniqueHBitmap = UniqueAny<HBITMAP, HandleTraits<HBITMAP, ::DeleteObject, nullptr>>;
using UniqueHIcon = UniqueAny<HICON, HandleTraits<HICON, ::DestroyIcon, nullptr>>;
using UniqueHwnd = UniqueAny<HWND, HandleTraits<HWND, ::DestroyWindow, nullptr>>;
using UniqueLocal = UniqueAny<HLOCAL, HandleTraits<HLOCAL, ::LocalFree, nullptr>>;
// Memory device contexts from CreateCompatibleDC.
using UniqueMemoryDC = UniqueAny<HDC, HandleTraits<HDC, ::DeleteDC, nullptr>>;

// Releases a window's device context from GetDC.
class WindowDC {
public:
    explicit WindowDC(HWND wnd) noexcept : wnd_(wnd), dc_(::GetDC(wnd)) {}
    ~WindowDC() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// Selects a GDI object into a device context and puts the old one back on scope exit.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~SelectObjectGuard() {
        if (old_) ::SelectObject(dc_, old_);
    }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A COM interface pointer released on scope exit.
template <typename I>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }

    I* get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    I** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    I* p_ = nullptr;
};

// A critical section and a guard that holds it for one scope.
class CriticalSection {
public:
    CriticalSection() noexcept { ::InitializeCriticalSection(&cs_); }
    ~CriticalSection() { ::DeleteCriticalSection(&cs_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void Enter() noexcept { ::EnterCriticalSection(&cs_); }
    void Leave() noexcept { ::LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& cs) noexcept : cs_(cs) { cs_.Enter(); }
    ~CriticalSectionLock() { cs_.Leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CriticalSection& cs_;
};

// Keeps a drive query (an empty removable drive, a CD drive with no disc) from raising the
// system's own error box while it lives; the old error mode comes back at its end.
class CriticalErrorsSilenced {
public:
    CriticalErrorsSilenced() noexcept : old_(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorsSilenced() { ::SetErrorMode(old_); }
    CriticalErrorsSilenced(const CriticalErrorsSilenced&) = delete;
    CriticalErrorsSilenced& operator=(const CriticalErrorsSilenced&) = delete;

private:
    UINT old_;
};

// Runs a callable when the scope ends, unless dismissed.
template <typename F>
class ScopeGuard {
public:
    explicit ScopeGuard(F f) noexcept : f_(std::move(f)) {}
    ~ScopeGuard() {
        if (active_) f_();
    }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    void Dismiss() noexcept { active_ = false; }

private:
    F f_;
    bool active_ = true;
};

template <typename F>
ScopeGuard<F> MakeScopeGuard(F f) {
    return ScopeGuard<F>(std::move(f));
}

}  // namespace orv
