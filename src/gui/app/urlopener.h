#pragma once

#include <QString>

namespace setforge {

// Opens a web address in the system's browser. Tests install a recorder instead.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QString& url) = 0;

    static UrlOpener& instance();
    // Installs `opener` (nullptr restores the system's browser). The caller keeps ownership.
    static void setInstance(UrlOpener* opener);
};

} // namespace setforge
