#include "core/mapping/registerentry.h"
#include "core/nodes/remotepdo.h"
