// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"

#include <utility>

namespace mrb::platform
{

// Whether a ComPtr takes over the reference it is given or adds one of its own.
enum class Ref { Adopt, AddRef };

// Holds one reference to an interface (any struct whose table starts with the
// three IUnknown slots) and releases it when it goes, so nobody calls Release()
// by hand.
template <class T> class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(T *p, Ref how)
        : m_p(p)
    {
        if (m_p && how == Ref::AddRef)
            unknown()->lpVtbl->AddRef(unknown());
    }
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr &other)
        : ComPtr(other.m_p, Ref::AddRef)
    {
    }
    ComPtr &operator=(const ComPtr &other)
    {
        if (this != &other)
            ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr(ComPtr &&other) noexcept
        : m_p(std::exchange(other.m_p, nullptr))
    {
    }
    ComPtr &operator=(ComPtr &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }

    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    void reset()
    {
        if (T *p = std::exchange(m_p, nullptr))
            reinterpret_cast<IUnknown *>(p)->lpVtbl->Release(reinterpret_cast<IUnknown *>(p));
    }
    // The slot for an out parameter that hands over a reference.
    void **put()
    {
        reset();
        return reinterpret_cast<void **>(&m_p);
    }
    // Gives the reference to the caller.
    T *detach() { return std::exchange(m_p, nullptr); }
    void swap(ComPtr &other) noexcept { std::swap(m_p, other.m_p); }

    // Asks the object for another of its interfaces.
    template <class U> ComPtr<U> query(const IID &iid, HRESULT *status = nullptr) const
    {
        ComPtr<U> other;
        HRESULT hr = E_POINTER;
        if (m_p)
            hr = unknown()->lpVtbl->QueryInterface(unknown(), &iid, other.put());
        if (status)
            *status = hr;
        if (FAILED(hr))
            other.detach();
        return other;
    }

private:
    IUnknown *unknown() const { return reinterpret_cast<IUnknown *>(m_p); }
    T *m_p = nullptr;
};

} // namespace mrb::platform
