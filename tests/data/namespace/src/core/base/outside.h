#pragma once

// At global scope: the check must name this file.
int outsideFunction();
