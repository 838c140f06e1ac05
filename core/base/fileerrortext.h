#pragma once

#include "core/base/fileio.h"
#include "core/base/fileresult.h"
#include "core/base/usertext.h"

#include <optional>
#include <string>
#include <vector>

namespace vsolo {

// The texts the user is shown for the failures of the file layer, in the user's language (tx).
// Texts are UTF-8; "\r\n" is a line break.

// The text of the file-error message for an error and a path; nothing for the file-exists error,
// which is not shown. A file refused while it was only being read is told as one that cannot be
// read, not as one that cannot be saved.
std::optional<std::string> fileErrorText(const FileError& error, const std::string& path);

// Why a file operation failed, in a few words: the file-error text where the error has one of its
// own, else the system's description of the error ("No space left on device").
std::string fileErrorCause(const FileError& error, const std::string& path);

// For a command line, where nothing closes: the sharing violation with the file named and the
// time waited for it.
std::string heldElsewhereText(const std::string& path);

// True for the errors after which the program closes: no permission, held by another process,
// unreachable network path.
bool fileErrorEndsProgram(const FileError& error);

inline constexpr const char* kProgramWillClose = VSOLO_TR("Veltimo Solo will close.");

// The message shown for a damaged file.
std::string damagedFileText(const std::string& path, const std::string& detail);

// The refusal to write a file: `problem` says which text of which item cannot be stored, and why.
std::string unstorableWriteText(const std::string& path, const std::string& problem);

// Told when a rewrite found that another program had changed the file since it was read, where it
// was changed here too: nothing was written. `what` names one such record, or is empty.
std::string conflictText(const std::string& path, const std::string& what);

// Told once per template when its transaction file ends in a record that was cut short.
std::string incompleteRecordText(const std::string& transactionFile);

// One message of a result for the user. What it is says how it is shown: a closing message
// follows the failure of an error that ends the program.
struct FileMessage {
    enum class Kind { Notice, Failure, Damage, Closing, Conflict };
    Kind kind;
    std::string text;
};

// The messages a result has for the user, in the order they are told: the notice of a record cut
// short, then the failure and, for an error that ends the program, the closing message.
std::vector<FileMessage> messagesOf(const FileResult& result);

// Told before a version-3 template is converted.
inline constexpr const char* kVersion3ConversionText =
    VSOLO_TR("Veltimo Solo has detected that this template is a version 3 file.  Veltimo Solo will "
             "now convert this template to a version 4 file.");

} // namespace vsolo
