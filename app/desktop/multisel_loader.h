// Where the batch selection library "Multisel" is looked for: beside the
// program first, then wherever the system finds libraries by name.
#pragma once

#include <QStringList>

namespace tessel::desktop {

QStringList multiselCandidates();

}  // namespace tessel::desktop
