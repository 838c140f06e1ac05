#pragma once

// Output of the commands: to standard output or to the file of -o, and the text forms they share.

#include "core/base/fileerrortext.h"
#include "core/base/fileio.h"

#include <string>
#include <string_view>

namespace vsolo {

struct Arguments;

// Why a file operation failed, in the words of the file-error messages; the system's own
// description for the errors those have no text for.
std::string causeOf(const FileError& error, const std::string& path);

// A text with its backslashes, tabs, carriage returns and line feeds written as \\, \t, \r and
// \n, so that it stays on one line of a listing.
std::string escaped(std::string_view text);

// Where the output goes: standard output, or a file written safely when -o is given. A failure
// is told once, with its cause.
class Output {
public:
    explicit Output(const Arguments& args);

    bool open();
    bool write(std::string_view bytes);
    bool finish(bool wrote);
    // All of the output at once: open, write and finish.
    bool writeAll(std::string_view bytes) { return open() && finish(write(bytes)); }

private:
    std::string m_path;
    AtomicFileWriter m_writer;
    FileError m_error;
};

} // namespace vsolo
