#pragma once
// The Windows back-end must not lean on the simulated world beside it.

#include "platform/sim/SimFarm.h"
