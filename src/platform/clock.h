#pragma once
#include "platform/platform.h"  // forwarding: removed after the merge
