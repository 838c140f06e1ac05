#include "tracker/levels/levelsetup.h"

#include "tracker/app/mainframe.h"
#include "tracker/levels/editlevelsheet.h"

namespace vsolo {

void runLevelSetUp(CMainFrame& frame) {
    CEditLevelSheet sheet(frame.document(), frame.prompter(), &frame);
    sheet.exec();
}

} // namespace vsolo
