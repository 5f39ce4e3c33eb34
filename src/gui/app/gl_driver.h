// Keeps the GL driver the application object loaded in memory until the process ends.
// Mesa unloads its driver at exit, before a leak checker (LeakSanitizer in the sanitizer
// build) looks at the heap, and the driver's one-time tables then look leaked. Kept
// loaded, they stay reachable; the process ends moments later in any case.
#pragma once

namespace velquist {

void KeepGlDriverLoaded();

}  // namespace velquist
