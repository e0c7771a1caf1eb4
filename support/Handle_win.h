// One owner for every kind of Windows handle: a move-only wrapper over a traits type that says which
// value means "no handle" and how to close one. Copying an owner does not compile.
#pragma once

#include <windows.h>

#include <bcrypt.h>
#include <wincrypt.h>

#include <fdi.h>

#include <utility>

template <class Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Detach()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }

    Type Get() const { return handle_; }
    bool IsValid() const { return handle_ != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }

    // Closes the handle; true when there was none or closing succeeded.
    bool Close() {
        if (!IsValid())
            return true;
        const bool closed = Traits::Close(handle_);
        handle_ = Traits::Invalid();
        return closed;
    }
    void Attach(Type handle) {
        Close();
        handle_ = handle;
    }
    Type Detach() { return std::exchange(handle_, Traits::Invalid()); }
    // For out-parameters of functions that create a handle: closes the current one first.
    Type* Receive() {
        Close();
        return &handle_;
    }

private:
    Type handle_ = Traits::Invalid();
};

struct KernelHandleTraits { // CreateMutex, CreateProcess, OpenProcessToken...: null means none
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return CloseHandle(h) != FALSE; }
};
struct FileHandleTraits { // CreateFile: INVALID_HANDLE_VALUE means none
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return CloseHandle(h) != FALSE; }
};
struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return FreeLibrary(h) != FALSE; }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return FindClose(h) != FALSE; }
};

struct FdiContextTraits { // FDICreate: the cabinet decompression context
    using Type = HFDI;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return FDIDestroy(h) != FALSE; }
};

struct LocalMemoryTraits { // memory the system allocated with LocalAlloc for the caller to free
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return LocalFree(h) == nullptr; }
};

struct WindowTraits { // CreateWindowEx: a window this code created and must destroy
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    // A child window is already gone when its parent was destroyed first.
    static bool Close(Type h) { return !IsWindow(h) || DestroyWindow(h) != FALSE; }
};

struct GdiObjectTraits { // CreateFont, CreateSolidBrush...: objects freed with DeleteObject
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return DeleteObject(h) != FALSE; }
};

struct IconTraits { // LoadImage(IMAGE_ICON) of a size other than the system's shared one
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return DestroyIcon(h) != FALSE; }
};

struct ServiceHandleTraits { // OpenSCManager, OpenService, CreateService
    using Type = SC_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return CloseServiceHandle(h) != FALSE; }
};

struct CryptProviderTraits { // CryptAcquireContext
    using Type = HCRYPTPROV;
    static Type Invalid() { return 0; }
    static bool Close(Type h) { return CryptReleaseContext(h, 0) != FALSE; }
};

struct CryptHashTraits { // CryptCreateHash
    using Type = HCRYPTHASH;
    static Type Invalid() { return 0; }
    static bool Close(Type h) { return CryptDestroyHash(h) != FALSE; }
};

struct CryptKeyTraits { // CryptDeriveKey
    using Type = HCRYPTKEY;
    static Type Invalid() { return 0; }
    static bool Close(Type h) { return CryptDestroyKey(h) != FALSE; }
};

struct BCryptAlgorithmTraits { // BCryptOpenAlgorithmProvider
    using Type = BCRYPT_ALG_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return BCRYPT_SUCCESS(BCryptCloseAlgorithmProvider(h, 0)); }
};

struct BCryptHashTraits { // BCryptCreateHash; the hash object's memory must outlive the handle
    using Type = BCRYPT_HASH_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return BCRYPT_SUCCESS(BCryptDestroyHash(h)); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using RegistryKeyHandle = UniqueHandle<RegistryKeyTraits>;
using ModuleHandle = UniqueHandle<ModuleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using LocalMemory = UniqueHandle<LocalMemoryTraits>;
using FdiContext = UniqueHandle<FdiContextTraits>;
using WindowHandle = UniqueHandle<WindowTraits>;
using GdiObject = UniqueHandle<GdiObjectTraits>;
using IconHandle = UniqueHandle<IconTraits>;
using ServiceHandle = UniqueHandle<ServiceHandleTraits>;
using CryptProvider = UniqueHandle<CryptProviderTraits>;
using CryptHash = UniqueHandle<CryptHashTraits>;
using CryptKey = UniqueHandle<CryptKeyTraits>;
using BCryptAlgorithm = UniqueHandle<BCryptAlgorithmTraits>;
using BCryptHash = UniqueHandle<BCryptHashTraits>;

struct MemoryDCTraits { // CreateCompatibleDC: a memory device context freed with DeleteDC
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return DeleteDC(h) != FALSE; }
};
using MemoryDC = UniqueHandle<MemoryDCTraits>;

// A window's device context from GetDC, released to its window when the owner ends. A null window gives
// the screen's context.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A paint cycle of a window: BeginPaint when made, EndPaint when it ends.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context for as long as the owner lives; the one it replaced comes
// back. A null context or object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
