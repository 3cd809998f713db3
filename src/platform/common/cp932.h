// forwarding: removed after the merge
#pragma once

#include "base/cp932.h"

namespace mowa::pf {
using base::cp932_is_lead;
using base::cp932_to_utf8;
using base::utf8_to_cp932;
}  // namespace mowa::pf
