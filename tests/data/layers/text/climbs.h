#pragma once
// An include that climbs: the text library above the engine.
#include "engine/chr.h"
