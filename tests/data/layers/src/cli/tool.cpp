#include "core/app/appstate.h"
#include "gui/app/qtext.h"
