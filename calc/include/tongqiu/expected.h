#pragma once

#include <utility>
#include <variant>

namespace tongqiu {

// A value, or why there is none: the few members of C++23's std::expected that the program uses.
// Failures travel as values rather than as exceptions, so that every path runs at full speed in a
// WebAssembly module built without exception handling, which older browsers cannot load.
template <typename T, typename E>
class Expected {
public:
    Expected(T value) : m_outcome(std::in_place_index<0>, std::move(value)) {}
    Expected(E error) : m_outcome(std::in_place_index<1>, std::move(error)) {}

    [[nodiscard]] bool has_value() const { return m_outcome.index() == 0; }
    explicit operator bool() const { return has_value(); }
    const T& operator*() const { return *std::get_if<0>(&m_outcome); }
    const T* operator->() const { return std::get_if<0>(&m_outcome); }
    T& operator*() { return *std::get_if<0>(&m_outcome); }
    T* operator->() { return std::get_if<0>(&m_outcome); }
    [[nodiscard]] const E& error() const { return *std::get_if<1>(&m_outcome); }

private:
    std::variant<T, E> m_outcome;
};

}  // namespace tongqiu
