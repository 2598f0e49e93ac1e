#pragma once

#include <string>

namespace setforge {

// The maker's host, fixed when building (kMakerHost).
std::string makerHost();

// The maker's home page: /HOME/default.asp?frompg=KX40917.
std::string makerHomeUrl();

// The maker's download page for the device: /Home/download/download.asp#KD40917.
std::string makerDownloadUrl();

} // namespace setforge
