// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"
#include "platform/com/errorinfo.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <new>
#include <optional>

namespace qfc
{

// Thrown by an operation that passes a failure on to its caller instead of
// following the continue-on-error convention; number must be a failure code.
class Failure : public std::exception
{
public:
    explicit Failure(mrb::platform::ErrorInfo info)
        : m_info(std::move(info))
    {
    }
    const mrb::platform::ErrorInfo &info() const { return m_info; }
    const char *what() const noexcept override { return m_info.description.c_str(); }

private:
    mrb::platform::ErrorInfo m_info;
};

// Runs body and passes any exception it throws on to the caller as a failure
// (DISP_E_EXCEPTION, source and a description of the exception), for the
// operations that trap nothing instead of continuing on error.
template <class Body> auto trappingNothing(const char *source, Body body) -> decltype(body())
{
    try {
        return body();
    } catch (const Failure &) {
        throw;
    } catch (const std::bad_alloc &) {
        throw Failure({DISP_E_EXCEPTION, source, "Out of memory"});
    } catch (const std::exception &e) {
        throw Failure({DISP_E_EXCEPTION, source, e.what()});
    } catch (...) {
        throw Failure({DISP_E_EXCEPTION, source, "Unexpected failure"});
    }
}

// Reference counting, the module's object count and the record of the last
// failure that every class object shares. An object starts with one reference.
class ObjectBase
{
public:
    ObjectBase(const ObjectBase &) = delete;
    ObjectBase &operator=(const ObjectBase &) = delete;

    std::uint32_t addRef() { return m_refs.fetch_add(1) + 1; }
    std::uint32_t release();

    // The object's interfaces: IUnknown, IDispatch and its own.
    virtual HRESULT queryInterface(const IID &iid, void **out) = 0;

    void clearError() { m_error.reset(); }
    void setError(const mrb::platform::ErrorInfo &info) { m_error = info; }
    const std::optional<mrb::platform::ErrorInfo> &lastError() const { return m_error; }

protected:
    ObjectBase();
    virtual ~ObjectBase();

private:
    std::atomic<std::uint32_t> m_refs {1};
    std::optional<mrb::platform::ErrorInfo> m_error;
};

// Takes a reference for the life of a call, so an object cannot disappear
// while one of its operations runs.
class CallGuard
{
public:
    explicit CallGuard(ObjectBase *object)
        : m_object(object)
    {
        m_object->addRef();
    }
    ~CallGuard() { m_object->release(); }
    CallGuard(const CallGuard &) = delete;
    CallGuard &operator=(const CallGuard &) = delete;

private:
    ObjectBase *m_object;
};

} // namespace qfc
