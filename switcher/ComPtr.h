// Owner of one COM interface pointer (the switcher's pictures): released exactly once.
#pragma once
#include <unknwn.h>

#include <utility>

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr &&other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr &operator=(ComPtr &&other) noexcept {
        if (this != &other) {
            Reset();
            m_pointer = std::exchange(other.m_pointer, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr &) = delete;
    ComPtr &operator=(const ComPtr &) = delete;

    T *Get() const { return m_pointer; }
    T *operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    // For the functions that hand out a new reference through an out parameter.
    void **Put() {
        Reset();
        return reinterpret_cast<void **>(&m_pointer);
    }
    void Reset() {
        if (m_pointer != nullptr)
            std::exchange(m_pointer, nullptr)->Release();
    }

private:
    T *m_pointer = nullptr;
};
