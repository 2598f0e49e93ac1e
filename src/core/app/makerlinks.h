#pragma once

#include <string>

// The maker's host, fixed when building (kMakerHost).
std::string makerHost();

// The maker's home page: /HOME/default.asp?frompg=KX40917.
std::string makerHomeUrl();

// The maker's download page for the device: /Home/download/download.asp#KD40917.
std::string makerDownloadUrl();
