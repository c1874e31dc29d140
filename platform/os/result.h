// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/problem.h"

#include <optional>
#include <string>
#include <utility>

namespace mrb::platform
{

// A failure always has a reason: an empty one becomes "unknown error".
inline Problem withReason(Problem problem)
{
    if (problem.reason.empty())
        problem.reason = "unknown error";
    return problem;
}

// A value, or the Problem that kept it from being made. A failure always has
// a reason; an empty one becomes "unknown error".
template <typename T = void> class Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }
    Result(Problem problem)
        : m_problem(withReason(std::move(problem)))
    {
    }
    static Result failure(std::string path, std::string reason, int errorNumber = 0)
    {
        return Problem {std::move(path), std::move(reason), errorNumber};
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    T &value() { return *m_value; }
    const T &value() const { return *m_value; }
    T &operator*() { return *m_value; }
    const T &operator*() const { return *m_value; }
    T *operator->() { return &*m_value; }
    const T *operator->() const { return &*m_value; }

    // An empty Problem when ok().
    const Problem &problem() const { return m_problem; }
    const std::string &path() const { return m_problem.path; }
    const std::string &reason() const { return m_problem.reason; }
    int errorNumber() const { return m_problem.errorNumber; }

private:
    std::optional<T> m_value;
    Problem m_problem;
};

// Success, or the Problem of a step that returns nothing.
template <> class Result<void>
{
public:
    Result() = default; // success
    Result(Problem problem)
        : m_problem(withReason(std::move(problem)))
    {
    }
    static Result failure(std::string path, std::string reason, int errorNumber = 0)
    {
        return Problem {std::move(path), std::move(reason), errorNumber};
    }

    bool ok() const { return m_problem.reason.empty(); }
    explicit operator bool() const { return ok(); }

    // An empty Problem when ok().
    const Problem &problem() const { return m_problem; }
    // The file as the caller named it (empty on success).
    const std::string &path() const { return m_problem.path; }
    // The reason as the system words it ("No space left on device"); empty on success.
    const std::string &reason() const { return m_problem.reason; }
    // The errno value of the failure; 0 on success and for a failure the
    // system did not report.
    int errorNumber() const { return m_problem.errorNumber; }

private:
    Problem m_problem;
};

} // namespace mrb::platform
