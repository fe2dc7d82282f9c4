#include "Font.h"

namespace viewkit {

const CFontRef kNormalFont = new CFontDesc("Arial", 12);
const CFontRef kSystemFont = new CFontDesc("Arial", 12);

} // namespace viewkit
