#pragma once

#include "core/base/placeholders.h"
#include "core/base/usertext.h"

#include <string>
#include <string_view>

// The texts of the reporting tool's editors, as the user sees them.
namespace vsolo::reporting::dialogtext {

inline constexpr char kNotANumber[] = VSOLO_TR("Please enter a number.");
inline constexpr char kTooLong[] = VSOLO_TR("Please enter no more than %1 characters.");
inline constexpr char kTooLongForFile[] =
    VSOLO_TR("This text is too long for the reporting file: it takes %1 bytes, and a text of the "
             "file may take at most %2.  Please shorten it.");
inline constexpr char kNotNegative[] = VSOLO_TR("Please enter an amount of 0 or more.");
// %1 stands for the rate as it is kept.
inline constexpr char kTaxKept[] = VSOLO_TR("The tax rate is kept with two decimals: %1%%.");
inline constexpr char kNoCode[] = VSOLO_TR("You must enter a code, before the %s can be added.");
inline constexpr char kCodeTaken[] =
    VSOLO_TR("All %s codes must be unique.  Please enter a different code.");
inline constexpr char kEmptyField[] = VSOLO_TR("This field must contain a value.");
inline constexpr char kConfirmDelete[] = VSOLO_TR("Are you sure you want to delete this item?");
// The name a new client has until the user renames it, and keeps in the reporting file if the
// user does not: the file holds the same bytes whatever the user's language.
inline constexpr char kNewClient[] = VSOLO_FIXED("New Client");
inline constexpr char kSettingsNotWritten[] = VSOLO_TR(
    "The preferences could not be saved.  They apply until Veltimo Solo Reporting is closed.");
inline constexpr char kSettingsNotWrittenAtExit[] =
    VSOLO_TR("The preferences could not be saved.  The next time Veltimo Solo Reporting starts, "
             "it uses those saved before.");
inline constexpr char kPreferencesTitle[] = VSOLO_TR("Preferences");
// %1 stands for a term of the settings.
inline constexpr char kManagerTitle[] = VSOLO_TR("%1 Manager");
inline constexpr char kAddEditTitle[] = VSOLO_TR("Add/Edit %1");
inline constexpr char kClientNameLabel[] = VSOLO_TR("%1 Name:");
// %1 stands for the number of items.
inline constexpr char kChangedCodeOne[] =
    VSOLO_TR("1 item uses this code.  Do you want to change it too?");
inline constexpr char kChangedCodeMany[] =
    VSOLO_TR("%1 items use this code.  Do you want to change them too?");

inline std::string managerTitle(std::string_view term) {
    return fillPlaceholders(tx(kManagerTitle), {term});
}
inline std::string addEditTitle(std::string_view term) {
    return fillPlaceholders(tx(kAddEditTitle), {term});
}
inline std::string clientNameLabel(std::string_view clientTerm) {
    return fillPlaceholders(tx(kClientNameLabel), {clientTerm});
}
// Asked when a rate's code was changed while items still name the old one.
inline std::string changedCodeQuestion(std::size_t items) {
    return items == 1 ? std::string(tx(kChangedCodeOne))
                      : fillPlaceholders(tx(kChangedCodeMany), {std::to_string(items)});
}

} // namespace vsolo::reporting::dialogtext
