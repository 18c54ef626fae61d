// Until the grammar generator is wired in, the library carries no grammar
// tables; lookups of them report the resource as missing.
#include "resources/resource_index.h"

namespace tessel::resources {

std::span<const BinaryResource> grammarResources() {
    return {};
}

}  // namespace tessel::resources
