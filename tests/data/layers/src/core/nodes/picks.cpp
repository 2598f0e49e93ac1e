#include "core/nodes/sdoobjectpick.h"

#include "core/mapping/registerentry.h"
#include "core/tables/grid.h"
