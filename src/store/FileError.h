#pragma once

#include <QString>

namespace ravnobor {

// The plain words for a failure the system reported on a file (an errno value):
// a full disk, missing permission, a read-only file system, ...; empty for none.
QString fileSystemReason(int systemError);

} // namespace ravnobor
