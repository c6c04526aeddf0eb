#pragma once

#include <QPixmap>

namespace quorl {

// The program's picture: the splash shows it and every window carries it as its icon.
QPixmap productLogo();

} // namespace quorl
