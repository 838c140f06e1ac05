#pragma once

#include "tracker/remote/assignmentcheck.h"

namespace vsolo {

class CMainFrame;
class CSoloDoc;

// "Send Ti&me Sheet" may be used on a template the central server manages, when it goes by
// e-mail or the template is not a local copy: the hand-off files sit beside the real template.
bool sendTimeSheetEnabled(CSoloDoc& doc);

// The command: asks for the range, advises of days outside the limits, hands the unsent
// transactions over and, once they went through, keeps or deletes the user's copy. A send that
// fails changes nothing of the time sheet. The frame's views show the outcome afterwards.
void sendTimeSheet(CMainFrame& frame, const MailPortMaker& makePort);

} // namespace vsolo
