#pragma once

namespace quorvane {

// Registers the icons and help pages built into the program. They live in a static library, so
// a program (or test) that uses them calls this once before; later calls do nothing.
void InitResources();

} // namespace quorvane
