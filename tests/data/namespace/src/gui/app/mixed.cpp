#include "gui/app/mixed.h"

#include <string>

namespace setforge {

// A brace in a comment must not end the namespace: }
std::string openBrace() { return "}{"; }
std::string rawText() { return R"(}
namespace other {)"; }
char closeBrace() { return '}'; }

} // namespace setforge

// Written after the namespace closed: the check must name this function and its line.
int helperAfterTheNamespace() { return 1; }
