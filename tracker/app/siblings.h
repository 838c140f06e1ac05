#pragma once

#include <QString>

namespace vsolo {

// The programs that ship beside the tracker, or may be installed beside it.
inline constexpr char kReportingProgram[] = "vsreport";
inline constexpr char kWebUpdateProgram[] = "webcheck";

// The path of the named program in `folder`, or empty when there is none there that may run.
QString siblingProgram(const QString& folder, const QString& name);
// Starts the named program from `folder` as a process of its own, with no arguments and without
// waiting for it. False when it is not there or could not be started.
bool startSiblingProgram(const QString& folder, const QString& name);

} // namespace vsolo
