#pragma once

#include <QIcon>

namespace vsolo {

enum class ProgramIcon { Tracker, Reporting, Template };

// The icon drawn for the project, in every size the build renders (16 to 256 pixels), for the
// windows of the programs; the desktop's own copy of it is installed under the same name.
QIcon programIcon(ProgramIcon which);

// The name of the icon and of the desktop entry: the application id, or the template type's icon.
const char* programIconName(ProgramIcon which);

} // namespace vsolo
