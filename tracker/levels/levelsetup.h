#pragma once

namespace vsolo {

class CMainFrame;

// "&Edit Levels/Targets..." for a template that is not tree-shaped: the level set-up.
void runLevelSetUp(CMainFrame& frame);

} // namespace vsolo
