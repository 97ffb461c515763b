#pragma once

namespace veltrix {

// Puts the desktop's own style behind one that makes each title-bar and tool-bar extension icon
// once per run: without it every document window and menu bar loads them from files again. What
// is drawn does not change. Call once, after the application object exists; later calls do nothing.
void ShareStandardIcons();

}  // namespace veltrix
