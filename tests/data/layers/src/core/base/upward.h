#pragma once

#include "core/app/appstate.h"
#include "core/base/paths.h"
