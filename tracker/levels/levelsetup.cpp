#include "tracker/levels/levelsetup.h"

#include <QApplication>

namespace vsolo {

void runLevelSetUp(CMainFrame&) {
    // The set-up of flat level lists is not offered yet.
    QApplication::beep();
}

} // namespace vsolo
