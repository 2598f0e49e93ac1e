#pragma once

#include <QString>

#include "core/lang/versioncheck.h"
#include "gui/lang/versionquery.h"

namespace setforge {

// The version query as one HTTP GET: fixed path, query, Accept and User-Agent headers, no
// cookies, redirects not followed. Waits in a local event loop that lets no user input
// through, for at most `timeoutMs` in all, and reads at most kVersionAnswerLimit bytes.
// A refused or broken connection, an HTTP status outside 2xx, a time-out or a longer body
// all give an empty answer.
class HttpVersionQuery : public VersionQuery {
public:
    // `baseUrl` like "http://127.0.0.1:8080" (no trailing slash); empty: the maker's host.
    explicit HttpVersionQuery(QString baseUrl = {}, int timeoutMs = kVersionQueryTimeoutMs);

    std::string answer() override;

    // The address the query goes to.
    QString url() const;

private:
    QString m_baseUrl;
    int m_timeoutMs;
};

} // namespace setforge
