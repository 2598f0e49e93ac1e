#include "core/lang/uitexts.h"

#include "core/lang/defaulttexts.h"

namespace setforge {

UiTexts::UiTexts()
{
    loadDefaults();
}

void UiTexts::loadDefaults()
{
    m_texts.assign(kCount, std::string(" "));
    for (std::size_t i = 0; i < kDefaultTextCount; ++i)
        m_texts[static_cast<std::size_t>(kDefaultTexts[i].index)] = kDefaultTexts[i].text;
}

const std::string& UiTexts::at(int index) const
{
    static const std::string empty;
    if (index < 0 || index >= kCount)
        return empty;
    return m_texts[static_cast<std::size_t>(index)];
}

void UiTexts::set(int index, std::string text)
{
    if (index < 0 || index >= kCount)
        return;
    m_texts[static_cast<std::size_t>(index)] = std::move(text);
}

} // namespace setforge
