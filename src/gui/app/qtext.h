#pragma once

#include <string>

#include <QString>

namespace setforge {

// UTF-8 text of the core to a QString.
inline QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// A QString to the core's UTF-8 text.
inline std::string us(const QString& text)
{
    return text.toStdString();
}

} // namespace setforge
