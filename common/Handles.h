// Move-only owners for the Windows resources the programs hold; each closes what it owns exactly once.
#pragma once
#include <windows.h>

#include <utility>

template <class Traits>
class Unique {
public:
    using Type = typename Traits::Type;
    Unique() = default;
    explicit Unique(Type value) : m_value(value) {}
    ~Unique() { Reset(); }
    Unique(Unique &&other) noexcept : m_value(other.Release()) {}
    Unique &operator=(Unique &&other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    Unique(const Unique &) = delete;
    Unique &operator=(const Unique &) = delete;

    Type Get() const { return m_value; }
    explicit operator bool() const { return m_value != Traits::Invalid(); }
    Type Release() { return std::exchange(m_value, Traits::Invalid()); }
    void Reset(Type value = Traits::Invalid()) {
        if (m_value != Traits::Invalid())
            Traits::Close(m_value);
        m_value = value;
    }

private:
    Type m_value = Traits::Invalid();
};

// Events, processes, threads, desktops' kernel objects: "no handle" is nullptr.
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};
// CreateFile answers INVALID_HANDLE_VALUE, not nullptr, on failure.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};
struct DesktopTraits {
    using Type = HDESK;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseDesktop(h); }
};
struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyWindow(h); }
};
template <class T>
struct GdiObjectTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
// Icons loaded at a size of one's own choosing (not shared from the system's cache).
struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyIcon(h); }
};
struct MemoryDCTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteDC(h); }
};

using KernelHandle = Unique<KernelHandleTraits>;
using FileHandle = Unique<FileHandleTraits>;
using RegKey = Unique<RegKeyTraits>;
using Desktop = Unique<DesktopTraits>;
using OwnedWindow = Unique<WindowTraits>;
template <class T>
using GdiObject = Unique<GdiObjectTraits<T>>;
using MemoryDC = Unique<MemoryDCTraits>;
using OwnedIcon = Unique<IconTraits>;

// A DC from GetDC/GetWindowDC, given back to its window.
class WindowDC {
public:
    explicit WindowDC(HWND window, bool wholeWindow = false)
        : m_window(window), m_dc(wholeWindow ? ::GetWindowDC(window) : ::GetDC(window)) {}
    ~WindowDC() {
        if (m_dc)
            ::ReleaseDC(m_window, m_dc);
    }
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;
    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// An object selected into a DC for one drawing step; the previous one goes back in.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (m_previous)
            ::SelectObject(m_dc, m_previous);
    }
    SelectedObject(const SelectedObject &) = delete;
    SelectedObject &operator=(const SelectedObject &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
