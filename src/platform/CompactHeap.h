// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window lives for the whole session, mostly hidden in the tray: what its start and its
// reads and applies held for a moment goes back to the system instead of staying with it.

namespace q905 {

// Call before any thread is started.
void keepHeapCompact();

} // namespace q905
