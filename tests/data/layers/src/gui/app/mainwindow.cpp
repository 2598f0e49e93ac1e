#include "gui/app/mainwindow.h"
