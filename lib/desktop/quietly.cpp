#include "desktop/quietly.h"

namespace desktop {

Q_LOGGING_CATEGORY(lcCleanup, "brenvald.cleanup")

} // namespace desktop
