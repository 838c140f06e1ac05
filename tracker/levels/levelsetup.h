#pragma once

namespace vsolo {

class CMainFrame;

// "Edit Levels/Targets" on a template that is not of version 4: the set-up sheet over the frame.
void runLevelSetUp(CMainFrame& frame);

} // namespace vsolo
