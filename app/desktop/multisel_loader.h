// Where the batch selection library "Multisel" is looked for: beside the
// program first (the build tree), then in its installed folder relative to
// the program (a folder of its own under the library folder), then wherever
// the system finds libraries by name.
#pragma once

#include <QStringList>

namespace tessel::desktop {

QStringList multiselCandidates();

}  // namespace tessel::desktop
