#pragma once
// A core file that reaches up into the window: the check must refuse it.
#include "app/MainWindow.h"
