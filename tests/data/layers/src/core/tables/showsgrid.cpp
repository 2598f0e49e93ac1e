#include "core/tables/grid.h"
#include "gui/app/qtext.h"
