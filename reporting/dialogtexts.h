#pragma once

#include <string>
#include <string_view>

// The texts of the reporting tool's editors, as the user sees them.
namespace vsolo::reporting::dialogtext {

inline constexpr char kNotANumber[] = "Please enter a number.";
inline constexpr char kTooLong[] = "Please enter no more than %1 characters.";
inline constexpr char kTooLongForFile[] =
    "This text is too long for the reporting file: it takes %1 bytes, and a text of the file may "
    "take at most %2.  Please shorten it.";
inline constexpr char kNotNegative[] = "Please enter an amount of 0 or more.";
// %1 stands for the rate as it is kept.
inline constexpr char kTaxKept[] = "The tax rate is kept with two decimals: %1%%.";
inline constexpr char kNoCode[] = "You must enter a code, before the %s can be added.";
inline constexpr char kCodeTaken[] = "All %s codes must be unique.  Please enter a different code.";
inline constexpr char kEmptyField[] = "This field must contain a value.";
inline constexpr char kConfirmDelete[] = "Are you sure you want to delete this item?";
inline constexpr char kNewClient[] = "New Client";
inline constexpr char kSettingsNotWritten[] =
    "The preferences could not be saved.  They apply until Veltimo Solo Reporting is closed.";
inline constexpr char kSettingsNotWrittenAtExit[] =
    "The preferences could not be saved.  The next time Veltimo Solo Reporting starts, it uses "
    "those saved before.";
inline constexpr char kPreferencesTitle[] = "Preferences";

inline std::string managerTitle(std::string_view term) {
    return std::string(term) + " Manager";
}
inline std::string addEditTitle(std::string_view term) {
    return "Add/Edit " + std::string(term);
}
inline std::string clientNameLabel(std::string_view clientTerm) {
    return std::string(clientTerm) + " Name:";
}
// Asked when a rate's code was changed while items still name the old one.
inline std::string changedCodeQuestion(std::size_t items) {
    return items == 1
               ? std::string("1 item uses this code.  Do you want to change it too?")
               : std::to_string(items) + " items use this code.  Do you want to change them too?";
}

} // namespace vsolo::reporting::dialogtext
