#include "core/report/registermap.h"

#include "core/app/projectstore.h"
#include "core/nodes/nodecatalog.h"
