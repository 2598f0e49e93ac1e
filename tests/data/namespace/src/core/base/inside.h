#pragma once

namespace setforge {

// Inside the project's namespace, as every project file must be.
int insideFunction();

} // namespace setforge
