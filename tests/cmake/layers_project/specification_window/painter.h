#pragma once

#include "engine/engine.h"

void Paint();
