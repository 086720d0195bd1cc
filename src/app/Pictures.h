#pragma once
// The tool's pictures, drawn when they are needed: the product logo at the foot of the server
// column, the controller picture shown on a Pellion controller, and the wait window's picture.

#include <QPixmap>

namespace ombrel::app {

QPixmap productLogo(int width);
QPixmap controllerPicture(int width);
QPixmap waitPicture(int width);

}  // namespace ombrel::app
