#pragma once
#include "core/base/paths.h"

#include "core/app/appstate.h"
