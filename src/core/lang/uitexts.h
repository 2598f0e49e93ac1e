#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setforge {

// The table of every user-visible text, indexes 0 to 1599.
class UiTexts {
public:
    static constexpr int kCount = 1600;

    // Starts filled with the built-in English defaults.
    UiTexts();

    // Refills the table with the built-in English defaults (a single blank where none).
    void loadDefaults();

    // The text at `index`; an index outside 0..1599 gives an empty text.
    const std::string& at(int index) const;
    const std::string& operator[](int index) const { return at(index); }

    // Replaces the text at `index`; an index outside 0..1599 is ignored.
    void set(int index, std::string text);

private:
    std::vector<std::string> m_texts;
};

} // namespace setforge
