// Kept until the scenario checker names graphics/images.h.
#pragma once

#include "graphics/images.h"
