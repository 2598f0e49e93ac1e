#include "core/app/makerlinks.h"

#ifndef SETFORGE_MAKER_HOST
#define SETFORGE_MAKER_HOST "telvora.example"
#endif

std::string makerHost()
{
    return SETFORGE_MAKER_HOST;
}

std::string makerHomeUrl()
{
    return "http://" + makerHost() + "/HOME/default.asp?frompg=KX40917";
}

std::string makerDownloadUrl()
{
    return "http://" + makerHost() + "/Home/download/download.asp#KD40917";
}
