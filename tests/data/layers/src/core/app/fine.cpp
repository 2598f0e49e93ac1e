#include "core/app/fine.h"

#include "core/base/paths.h"
#include "core/lang/uitexts.h"
#include "core/report/projectreport.h"
