#include "gui/app/mainwindow.h"
#include "gui/app/messageservice.h"
