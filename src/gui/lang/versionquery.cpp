#include "gui/lang/versionquery.h"

#include "core/app/appstate.h"
#include "core/lang/versioncheck.h"
#include "gui/lang/httpversionquery.h"

namespace setforge {

namespace {

VersionQuery* g_query = nullptr;

} // namespace

VersionQuery& VersionQuery::instance()
{
    static HttpVersionQuery maker;
    return g_query ? *g_query : maker;
}

void VersionQuery::setInstance(VersionQuery* query)
{
    g_query = query;
}

bool isNewerVersionAvailable()
{
    return isNewerVersionAnswer(VersionQuery::instance().answer(), kSoftwareVersion);
}

} // namespace setforge
