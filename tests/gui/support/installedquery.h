#pragma once

#include <QString>

#include "gui/lang/httpversionquery.h"
#include "gui/lang/versionquery.h"

namespace setforge {

// Sends every version query to the test's local server at `base` while it lives.
class InstalledQuery {
public:
    explicit InstalledQuery(const QString& base) : m_query(base) { VersionQuery::setInstance(&m_query); }
    ~InstalledQuery() { VersionQuery::setInstance(nullptr); }
    InstalledQuery(const InstalledQuery&) = delete;
    InstalledQuery& operator=(const InstalledQuery&) = delete;

private:
    HttpVersionQuery m_query;
};

} // namespace setforge
