#pragma once

#include "core/report/projectcheck.h"

namespace setforge {

// The findings of `after` that `before` did not have, errors and warnings each on their own:
// what an edit brought. A finding counts as many times as it occurs, and row numbers (" row N")
// are not compared, so deleting a row, which moves every later row's finding up by one, brings
// nothing new, while a second finding of the same text does.
ProjectFindings newFindings(const ProjectFindings& before, const ProjectFindings& after);

} // namespace setforge
