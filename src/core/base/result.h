#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace setforge {

// Why something failed: the text a message box or stderr shows, and where it was found.
struct Error {
    std::string text;                // the reason, whole ("sdo.xml: no element found at ...")
    std::string file;                // the file it concerns; "" when none
    std::optional<std::size_t> line; // 1-based line in `file`, when known
    // The number of the UI text that says the same, when there is one, so a window can show it in
    // the user's language; `text` then holds the built-in English text. 0 when there is none.
    int textId = 0;

    // `text` alone, or "file:line: text" style when `file` and `line` are set and `text` does not
    // already name them.
    std::string describe() const;
};

// A value or the Error that kept it from being made. Test it with `if (result)`; value() and
// error() may be called only on the matching side.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : m_state(std::in_place_index<1>, std::move(error)) {}

    explicit operator bool() const { return m_state.index() == 0; }

    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Error& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, Error> m_state;
};

// Success, or the Error of an action that makes no value (a file write).
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)) {}

    explicit operator bool() const { return !m_error.has_value(); }

    const Error& error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

// An Error with only a text, for the common case.
inline Error makeError(std::string text, std::string file = {},
                       std::optional<std::size_t> line = std::nullopt)
{
    return Error{std::move(text), std::move(file), line};
}

} // namespace setforge
