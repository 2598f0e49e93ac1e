#include "core/app/makerlinks.h"

#include "core/base/product.h"

namespace setforge {

std::string makerHost()
{
    return kMakerHost;
}

std::string makerHomeUrl()
{
    return "http://" + makerHost() + "/HOME/default.asp?frompg=KX40917";
}

std::string makerDownloadUrl()
{
    return "http://" + makerHost() + "/Home/download/download.asp#KD40917";
}

} // namespace setforge
