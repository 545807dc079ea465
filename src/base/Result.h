// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What can fail says so in its type: a result the caller must look at, carrying the message
// the user is shown when it failed. One convention for the whole program.

#include <optional>
#include <string>
#include <utility>

namespace q905 {

class [[nodiscard]] Status {
  public:
    static Status success() { return Status(); }
    // systemError: the errno behind a failure of the system, 0 for others. A window tells
    // the reason in its own language from it.
    static Status failure(std::string message, int systemError = 0) {
        Status status;
        status.m_failed = true;
        status.m_message = std::move(message);
        status.m_systemError = systemError;
        return status;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return m_message; }
    int systemError() const { return m_systemError; }

  private:
    bool m_failed = false;
    std::string m_message;
    int m_systemError = 0;
};

// A value, or the message why there is none.
template <class T> class [[nodiscard]] Result {
  public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(std::string message, int systemError = 0) {
        Result result;
        result.m_message = std::move(message);
        result.m_systemError = systemError;
        return result;
    }
    static Result failure(const Status& status) {
        return failure(status.message(), status.systemError());
    }
    // The failure as a Status.
    Status status() const {
        return ok() ? Status::success() : Status::failure(m_message, m_systemError);
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *m_value; }
    const T& value() const { return *m_value; }
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    const std::string& message() const { return m_message; }
    int systemError() const { return m_systemError; }

  private:
    Result() = default;
    std::optional<T> m_value;
    std::string m_message;
    int m_systemError = 0;
};

} // namespace q905
