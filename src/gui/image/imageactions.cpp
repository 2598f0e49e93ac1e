#include "gui/app/windowfactory.h"

// Compiling the images and writing the EDS arrive with their own change.
void Update_Device(TFSetforgeFirmWare&) {}
void Build_EDS_File(TFSetforgeFirmWare&) {}
