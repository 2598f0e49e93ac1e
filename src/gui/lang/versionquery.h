#pragma once

#include <string>

namespace setforge {

// Asks the maker's web server for the newest software version. The program sends the query
// over HTTP; tests may install another source.
class VersionQuery {
public:
    virtual ~VersionQuery() = default;

    // The body of the server's answer, or an empty text after any failure. Blocks until done.
    virtual std::string answer() = 0;

    // The source in use: HTTP to the maker's host unless another was installed.
    static VersionQuery& instance();
    // Installs `query` (nullptr restores HTTP to the maker's host). The caller keeps ownership.
    static void setInstance(VersionQuery* query);
};

// True when the server names a version newer than the running one; any failure is false.
bool isNewerVersionAvailable();

} // namespace setforge
