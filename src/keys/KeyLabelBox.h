// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a key's label goes on the keyboard picture: the keycap's face. The picture's keycaps are
// drawn blank around it and the window writes the label into it.

namespace q905 {

// Picture coordinates; the label is centred in the box.
struct KeyLabelBox {
    int x, y, width, height;
};
// The main Enter key's label sits in the column of its lower arm, like a tall key's.
KeyLabelBox keyLabelBox(int keyIndex);

} // namespace q905
