#include "app/StartUp.h"

#include "app/MainWindow.h"

namespace ombrel::app {

void StartUp(MainWindow& window, AppContext&, const StartUpOptions& options) {
    if (options.firstTab >= 0 && options.firstTab < window.SSTab1->count()) {
        window.SSTab1->setCurrentIndex(options.firstTab);
    }
}

}  // namespace ombrel::app
