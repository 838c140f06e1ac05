#pragma once

// The reporting tool's own texts, as the user sees them.
namespace vsolo::reporting::text {

inline constexpr char kApplicationTitle[] = "Veltimo Solo Reporting";
inline constexpr char kRateSpreadQuestion[] =
    "Do you want to change the rate for this task, and all items below it?";
inline constexpr char kReportsNotAvailable[] =
    "Reports are not available in this version of Veltimo Solo Reporting yet.";
inline constexpr char kOpenFilter[] = "Veltimo Solo Files (*.tpl)";
inline constexpr char kUntitled[] = "Untitled";

} // namespace vsolo::reporting::text
