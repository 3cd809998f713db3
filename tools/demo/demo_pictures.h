// The demo's pictures, drawn from shapes. Backgrounds are 640x480 with the
// message panel in their lower part; sprites keep index 0 round their figure.
#pragma once

#include "indexed_picture.h"

namespace mowa::demo {

IndexedPicture title_picture();   // dusk over the hills, a crescent moon
IndexedPicture meadow_picture();  // a sunny meadow with a tree and flowers
IndexedPicture night_picture();   // a full moon over a house with lit windows
// The back image of the dice: faces 1 to 6 side by side in the bottom 100
// stored rows, face n at columns 100(n-1) to 100n - 1.
IndexedPicture dice_sheet();

IndexedPicture mowa_sprite();  // 96x96: the fluffy mascot
IndexedPicture star_sprite();  // 32x32: a twinkling star

}  // namespace mowa::demo
