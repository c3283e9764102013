// One small owner per kind of Windows handle: closes it once, copying forbidden, moving allowed.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <utility>

template <typename Traits>
class scoped_handle {
public:
    using type = typename Traits::type;
    scoped_handle() = default;
    explicit scoped_handle(type handle) : handle_(handle) {}
    scoped_handle(const scoped_handle&) = delete;
    scoped_handle& operator=(const scoped_handle&) = delete;
    scoped_handle(scoped_handle&& other) noexcept : handle_(other.release()) {}
    scoped_handle& operator=(scoped_handle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~scoped_handle() { reset(); }

    type get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::invalid(); }
    type release() { return std::exchange(handle_, Traits::invalid()); }
    void reset(type handle = Traits::invalid()) {
        if (handle_ != Traits::invalid()) Traits::close(handle_);
        handle_ = handle;
    }

private:
    type handle_ = Traits::invalid();
};

struct file_handle_traits {
    using type = HANDLE;
    static type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(type handle) { CloseHandle(handle); }
};
struct kernel_handle_traits {
    using type = HANDLE;
    static type invalid() { return nullptr; }
    static void close(type handle) { CloseHandle(handle); }
};
struct gdi_object_traits {
    using type = HGDIOBJ;
    static type invalid() { return nullptr; }
    static void close(type object) { DeleteObject(object); }
};
struct icon_traits {
    using type = HICON;
    static type invalid() { return nullptr; }
    static void close(type icon) { DestroyIcon(icon); }
};
struct item_id_list_traits {
    using type = void*;
    static type invalid() { return nullptr; }
    static void close(type list) { CoTaskMemFree(list); }
};

using scoped_file = scoped_handle<file_handle_traits>;        // CreateFile results
using scoped_kernel_handle = scoped_handle<kernel_handle_traits>;  // processes, threads
using scoped_gdi_object = scoped_handle<gdi_object_traits>;
using scoped_icon = scoped_handle<icon_traits>;
using scoped_item_id_list = scoped_handle<item_id_list_traits>;

// A memory DC with one object selected into it for the DC's lifetime.
class memory_dc {
public:
    memory_dc(HDC compatible_with, HGDIOBJ object)
        : dc_(CreateCompatibleDC(compatible_with)), previous_(dc_ ? SelectObject(dc_, object) : nullptr) {}
    memory_dc(const memory_dc&) = delete;
    memory_dc& operator=(const memory_dc&) = delete;
    ~memory_dc() {
        if (!dc_) return;
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The COM apartment of the calling thread, uninitialised when it ends.
class com_apartment {
public:
    com_apartment() { CoInitialize(nullptr); }  // S_FALSE (already initialised) needs the same uninit
    com_apartment(const com_apartment&) = delete;
    com_apartment& operator=(const com_apartment&) = delete;
    ~com_apartment() { CoUninitialize(); }
};

// An owned COM interface pointer.
template <typename T>
class com_ptr {
public:
    com_ptr() = default;
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;
    com_ptr(com_ptr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ~com_ptr() {
        if (pointer_) pointer_->Release();
    }
    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    T** put() { return &pointer_; }
    void** put_void() { return reinterpret_cast<void**>(&pointer_); }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    T* pointer_ = nullptr;
};
