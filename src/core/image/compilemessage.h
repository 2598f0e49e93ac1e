#pragma once

#include <functional>
#include <string>

namespace setforge {

// A message of the image compilers, with the kind of box the GUI shows it in.
struct CompileMessage {
    enum class Kind { Information, Warning, Error };
    Kind kind = Kind::Information;
    std::string text;
};

// Receives each message at the moment the compile reaches it, in compile order.
using MessageSink = std::function<void(const CompileMessage&)>;

// The fixed message of an unreadable number in the plain image.
inline constexpr const char* kConversionError = "Error in conversion string";

} // namespace setforge
